#include "platform/desktop_launch.h"

#include <gio/gio.h>

namespace velmaro::platform {
namespace {

// Hands the one file, or nothing, to application and drops the reference; a null application is "none".
bool launchWithFile(GAppInfo* application, const std::string& path) {
  if (application == nullptr) return false;
  GFile* file = path.empty() ? nullptr : g_file_new_for_path(path.c_str());
  GList files{file, nullptr, nullptr};
  const bool started = g_app_info_launch(application, file != nullptr ? &files : nullptr, nullptr, nullptr);
  if (file != nullptr) g_object_unref(file);
  g_object_unref(application);
  return started;
}

}  // namespace

bool openDocument(const std::string& path) {
  if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) return false;
  gchar* contentType = g_content_type_guess(path.c_str(), nullptr, 0, nullptr);
  const bool started = launchWithFile(g_app_info_get_default_for_type(contentType, FALSE), path);
  g_free(contentType);
  return started;
}

bool openWithApplicationFor(const std::string& contentType, const std::string& path) {
  return launchWithFile(g_app_info_get_default_for_type(contentType.c_str(), FALSE), path);
}

bool openLink(const std::string& link) {
  gchar* scheme = g_uri_parse_scheme(link.c_str());
  if (scheme == nullptr) return false;
  GAppInfo* handler = g_app_info_get_default_for_uri_scheme(scheme);
  g_free(scheme);
  if (handler == nullptr) return false;
  GList links{const_cast<char*>(link.c_str()), nullptr, nullptr};
  const bool started = g_app_info_launch_uris(handler, &links, nullptr, nullptr);
  g_object_unref(handler);
  return started;
}

}  // namespace velmaro::platform

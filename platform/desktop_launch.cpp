#include "platform/desktop_launch.h"

#include <gio/gio.h>

#include <vector>

namespace velmaro::platform {
namespace {

// Hands the one file, or nothing, to application and drops the reference; a null application is "none".
bool LaunchWithFile(GAppInfo* application, const std::string& path) {
  if (application == nullptr) return false;
  GFile* file = path.empty() ? nullptr : g_file_new_for_path(path.c_str());
  GList files{file, nullptr, nullptr};
  const bool started = g_app_info_launch(application, file != nullptr ? &files : nullptr, nullptr, nullptr);
  if (file != nullptr) g_object_unref(file);
  g_object_unref(application);
  return started;
}

bool Contains(GList* applications, GAppInfo* application) {
  for (GList* item = applications; item != nullptr; item = item->next)
    if (g_app_info_equal(G_APP_INFO(item->data), application)) return true;
  return false;
}

bool ListsDefault(const std::string& mimeappsList, const char* contentType, const char* applicationId) {
  GKeyFile* file = g_key_file_new();
  gchar** ids = nullptr;
  if (g_key_file_load_from_file(file, mimeappsList.c_str(), G_KEY_FILE_NONE, nullptr))
    ids = g_key_file_get_string_list(file, "Default Applications", contentType, nullptr, nullptr);
  const bool listed = ids != nullptr && g_strv_contains(ids, applicationId);
  g_strfreev(ids);
  g_key_file_free(file);
  return listed;
}

// The mimeapps.list files of the user and the system, where defaults are chosen.
bool ChosenAsDefault(const char* contentType, GAppInfo* application) {
  const char* id = g_app_info_get_id(application);
  if (id == nullptr) return false;
  std::vector<std::string> folders{g_get_user_config_dir(), std::string(g_get_user_data_dir()) + "/applications"};
  for (const gchar* const* dir = g_get_system_config_dirs(); *dir != nullptr; ++dir) folders.emplace_back(*dir);
  for (const gchar* const* dir = g_get_system_data_dirs(); *dir != nullptr; ++dir)
    folders.push_back(std::string(*dir) + "/applications");
  for (const std::string& folder : folders)
    if (ListsDefault(folder + "/mimeapps.list", contentType, id)) return true;
  return false;
}

// GIO also offers the applications of a parent type (a KML document is XML, so any text editor). Such an
// application is no viewer of the document: only one that takes the type itself, or that was chosen as its
// default, counts.
GAppInfo* ApplicationOfOwnType(const char* contentType) {
  GAppInfo* application = g_app_info_get_default_for_type(contentType, FALSE);
  if (application == nullptr) return nullptr;
  GList* recommended = g_app_info_get_recommended_for_type(contentType);
  const bool ownType = Contains(recommended, application) || ChosenAsDefault(contentType, application);
  g_list_free_full(recommended, g_object_unref);
  if (ownType) return application;
  g_object_unref(application);
  return nullptr;
}

}  // namespace

bool OpenDocument(const std::string& path) {
  if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) return false;
  gchar* contentType = g_content_type_guess(path.c_str(), nullptr, 0, nullptr);
  const bool started = LaunchWithFile(ApplicationOfOwnType(contentType), path);
  g_free(contentType);
  return started;
}

bool OpenWithApplicationFor(const std::string& contentType, const std::string& path) {
  return LaunchWithFile(g_app_info_get_default_for_type(contentType.c_str(), FALSE), path);
}

bool OpenLink(const std::string& link) {
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

#include "geo/geo_loader.h"

#include <dlfcn.h>

#include <mutex>

#include "geo/geo_module.h"

namespace velmaro::geo {
namespace {

std::string LoaderMessage(const char* fallback) {
  const char* message = ::dlerror();
  return message != nullptr ? message : fallback;
}

}  // namespace

LoadedGeo LoadGeo(const std::string& applicationFolder) {
  static std::mutex mutex;
  // Neither the module nor its Geo is ever let go: the module's own static objects are destroyed at exit
  // before anything this function could destroy, so the Geo must not outlive them in a destructor here.
  static Geo* loaded = nullptr;
  const std::lock_guard<std::mutex> lock(mutex);
  if (loaded != nullptr) return {loaded, {}};

  const std::string path = applicationFolder + "/" + kGeoModuleFile;
  // RTLD_NOW: a library missing a symbol fails here, not at some later call from the window.
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return {nullptr, LoaderMessage("the module cannot be loaded")};
  ::dlerror();
  const auto factory = reinterpret_cast<GeoFactory>(::dlsym(module, kGeoFactorySymbol));
  if (factory == nullptr) {
    LoadedGeo failed{nullptr, LoaderMessage("the module has no factory")};
    ::dlclose(module);
    return failed;
  }
  Geo* geo = factory(kGeoInterfaceVersion);
  if (geo == nullptr) {
    ::dlclose(module);
    return {nullptr, path + ": built for another interface version"};
  }
  loaded = geo;
  return {geo, {}};
}

}  // namespace velmaro::geo

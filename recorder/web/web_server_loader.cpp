#include <dlfcn.h>

#include "automation/server.h"
#include "web_server.h"

namespace recorder::web {

std::unique_ptr<WebServer> loadWebServer(const SnapshotBoard& board, std::string& error) {
  // By exact path, beside the suite's libraries: never a module found on a search path.
  const auto folder = automation::ownModuleFolder();
  if (folder.empty()) {
    error = "the web view is not available: the program's library folder is not known";
    return nullptr;
  }
  const std::string path = (folder / kWebServerModule).string();
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* entry = module != nullptr ? ::dlsym(module, kMakeWebServer) : nullptr;
  if (entry == nullptr) {
    const char* why = ::dlerror();
    error = "the web view is not available: " + (why != nullptr ? std::string(why) : path);
    return nullptr;
  }
  return std::unique_ptr<WebServer>(
      reinterpret_cast<MakeWebServer*>(entry)(board, WebServerSettings{}));
}

}  // namespace recorder::web

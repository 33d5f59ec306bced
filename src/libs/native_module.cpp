// Shared libraries through the dynamic loader.
#include "libs/native_module.h"

#include <dlfcn.h>

namespace ozra::libs {

namespace {

std::string LoaderReason() {
    const char* reason = ::dlerror();
    return reason ? reason : "unknown reason";
}

} // namespace

std::optional<NativeModule> NativeModule::Open(const std::string& name, std::string& reason) {
    if (void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) return NativeModule(handle);
    reason = LoaderReason();
    const bool bare = name.find('/') == std::string::npos && name.find(".so") == std::string::npos;
    if (bare && !name.empty()) {
        const std::string conventional = "lib" + name + ".so";
        if (void* handle = ::dlopen(conventional.c_str(), RTLD_NOW | RTLD_LOCAL))
            return NativeModule(handle);
    }
    return std::nullopt;
}

NativeModule::~NativeModule() {
    if (handle_) ::dlclose(handle_);
}

void* NativeModule::Find(const std::string& symbol, std::string& reason) const {
    ::dlerror();
    void* address = ::dlsym(handle_, symbol.c_str());
    if (!address) reason = LoaderReason();
    return address;
}

} // namespace ozra::libs

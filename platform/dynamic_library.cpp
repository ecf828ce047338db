#include "dynamic_library.h"

#include <dlfcn.h>

namespace platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& name, std::string* error) {
    // An empty name would give the running program itself.
    if (name.empty()) {
        if (error) *error = "no library name given";
        return nullptr;
    }
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* reason = dlerror();
            *error = reason ? reason : name + ": cannot be loaded";
        }
        return nullptr;
    }
    if (error) error->clear();
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(handle_);
}

void* DynamicLibrary::Symbol(const char* name) const {
    if (!name) return nullptr;
    return dlsym(handle_, name);
}

} // namespace platform

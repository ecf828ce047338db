// Loading a shared library by name at run time and looking up its symbols.
#pragma once

#include <memory>
#include <string>

namespace platform {

class DynamicLibrary {
public:
    // Loads the library by name or path (the dynamic loader's search rules);
    // nullptr when it cannot be loaded, with the loader's reason in *error.
    static std::unique_ptr<DynamicLibrary> Open(const std::string& name,
                                                std::string* error = nullptr);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported symbol, nullptr when missing.
    void* Symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

} // namespace platform

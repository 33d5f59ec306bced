// A loaded shared library and the lookup of its exports: the platform layer
// under the native-call library (`dlopen`, `dlsym`, `dlclose`).
//
// A library is looked for by its name as given; a bare name (no "/" and no
// ".so" in it) is then also tried as "lib" + name + ".so", so scripts can
// name "m" or "ozra_fixture" the way a linker does. Failures answer the
// loader's own explanation (`dlerror`) for the caller's message.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ozra::libs {

class NativeModule {
  public:
    // The library, or nothing with the loader's reason in `reason`.
    static std::optional<NativeModule> Open(const std::string& name, std::string& reason);

    NativeModule(NativeModule&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    NativeModule& operator=(NativeModule&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    NativeModule(const NativeModule&) = delete;
    NativeModule& operator=(const NativeModule&) = delete;
    // Unloads the library (the loader keeps it while other users hold it).
    ~NativeModule();

    // The address of an exported symbol, or nullptr with the reason.
    void* Find(const std::string& symbol, std::string& reason) const;

  private:
    explicit NativeModule(void* handle) noexcept : handle_(handle) {}

    void* handle_ = nullptr;
};

} // namespace ozra::libs

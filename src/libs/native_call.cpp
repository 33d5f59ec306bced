// libffi call interfaces and closures.
#include "libs/native_call.h"

#include "value/errors.h"

namespace ozra::libs {

namespace {

ffi_type* FfiType(NativeType type) noexcept {
    switch (type) {
    case NativeType::Int32:
        return &ffi_type_sint32;
    case NativeType::Int64:
        return &ffi_type_sint64;
    case NativeType::Pointer:
        break;
    }
    return &ffi_type_pointer;
}

} // namespace

NativeShape::NativeShape(const std::vector<NativeType>& arguments, NativeType result) {
    types_.reserve(arguments.size());
    for (const NativeType type : arguments)
        types_.push_back(FfiType(type));
    if (ffi_prep_cif(&cif_, FFI_DEFAULT_ABI, static_cast<unsigned>(types_.size()), FfiType(result),
                     types_.data()) != FFI_OK)
        throw value::EtsRuntime("native call interface could not be prepared.");
}

void NativeShape::Call(void* address, void** arguments, std::uint64_t& result) const {
    // libffi widens integer results to a full `ffi_arg`, which is 64 bits here.
    static_assert(sizeof(ffi_arg) == sizeof(std::uint64_t));
    ffi_arg word = 0;
    ffi_call(const_cast<ffi_cif*>(&cif_), FFI_FN(address), &word, arguments);
    result = word;
}

NativeClosure::NativeClosure(const std::vector<NativeType>& arguments, NativeType result,
                             Handler handler, void* data)
    : shape_(arguments, result), handler_(handler), data_(data) {
    closure_ = static_cast<ffi_closure*>(ffi_closure_alloc(sizeof(ffi_closure), &code_));
    if (!closure_) throw value::EtsRuntime("native callback entry could not be made.");
    if (ffi_prep_closure_loc(closure_, &shape_.Interface(), &NativeClosure::Land, this, code_) !=
        FFI_OK) {
        ffi_closure_free(closure_);
        throw value::EtsRuntime("native callback entry could not be made.");
    }
}

NativeClosure::~NativeClosure() {
    ffi_closure_free(closure_);
}

void NativeClosure::Land(ffi_cif*, void* result, void** arguments, void* self) noexcept {
    const auto& closure = *static_cast<NativeClosure*>(self);
    closure.handler_(result, arguments, closure.data_);
}

} // namespace ozra::libs

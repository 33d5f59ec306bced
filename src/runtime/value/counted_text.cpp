// Allocation of text blocks: header and bytes in one piece of memory.
#include "runtime/value/counted_text.h"

#include "runtime/value/errors.h"

#include <cstring>
#include <new>

namespace ozra::runtime {

CountedText* CountedText::CreateUninitialised(std::size_t length) {
    if (length >= MaxLength) throw EtsRuntime::TextTooLong();
    void* memory = ::operator new(sizeof(CountedText) + length + 1);
    auto* text = new (memory) CountedText(length);
    text->Bytes()[length] = '\0';
    return text;
}

namespace {

// memcpy must not see a null source, even for zero bytes.
void CopyBytes(char* target, std::string_view bytes) noexcept {
    if (!bytes.empty()) std::memcpy(target, bytes.data(), bytes.size());
}

} // namespace

CountedText* CountedText::Create(std::string_view bytes) {
    CountedText* text = CreateUninitialised(bytes.size());
    CopyBytes(text->Bytes(), bytes);
    return text;
}

CountedText* CountedText::Concat(std::string_view a, std::string_view b) {
    if (a.empty() && b.empty()) return nullptr;
    if (a.size() >= MaxLength || b.size() >= MaxLength - a.size()) throw EtsRuntime::TextTooLong();
    CountedText* text = CreateUninitialised(a.size() + b.size());
    CopyBytes(text->Bytes(), a);
    CopyBytes(text->Bytes() + a.size(), b);
    return text;
}

void CountedText::Destroy() noexcept {
    this->~CountedText();
    ::operator delete(static_cast<void*>(this));
}

} // namespace ozra::runtime

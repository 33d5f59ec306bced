// Allocation of text blocks: header and bytes in one piece of memory, taken
// from malloc so that a block grown in place can be reallocated.
#include "value/counted_text.h"

#include "value/errors.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace ozra::value {

namespace {

void* Allocate(std::size_t room) {
    void* memory = std::malloc(sizeof(CountedText) + room + 1);
    if (!memory) throw std::bad_alloc();
    return memory;
}

// memcpy must not see a null source, even for zero bytes.
void CopyBytes(char* target, std::string_view bytes) noexcept {
    if (!bytes.empty()) std::memcpy(target, bytes.data(), bytes.size());
}

} // namespace

CountedText* CountedText::CreateUninitialised(std::size_t length) {
    if (length >= MaxLength) throw EtsRuntime::TextTooLong();
    auto* text = new (Allocate(length)) CountedText(length, length);
    text->Bytes()[length] = '\0';
    return text;
}

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

CountedText* CountedText::Append(CountedText* text, std::string_view more) {
    const std::size_t length = text->length_;
    if (more.size() >= MaxLength - length) throw EtsRuntime::TextTooLong();
    const std::size_t needed = length + more.size();
    if (needed > text->room_) {
        // Bytes of the block itself would move with it.
        const char* bytes = text->Bytes();
        std::string own;
        if (more.data() >= bytes && more.data() < bytes + length) {
            own.assign(more);
            more = own;
        }
        std::size_t room = text->room_ * 2;
        if (room < needed) room = needed;
        if (room >= MaxLength) room = MaxLength - 1;
        void* memory = std::realloc(text, sizeof(CountedText) + room + 1);
        if (!memory) throw std::bad_alloc();
        text = static_cast<CountedText*>(memory);
        text->room_ = room;
        CopyBytes(text->Bytes() + length, more);
    } else {
        // memmove: the bytes may be the block's own.
        if (!more.empty()) std::memmove(text->Bytes() + length, more.data(), more.size());
    }
    text->length_ = needed;
    text->Bytes()[needed] = '\0';
    return text;
}

void CountedText::Destroy() noexcept {
    this->~CountedText();
    std::free(this);
}

} // namespace ozra::value

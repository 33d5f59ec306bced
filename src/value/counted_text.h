// The reference-counted byte string behind text values.
//
// Script text is UTF-8 bytes. A text value points at one `CountedText`, so
// copying a value costs one increment and never allocates. Once shared, the
// bytes never change; building a new text makes a new block. The one
// exception is `Append` on a block whose only holder is the caller (count
// 1): then no one else can see the change, and «s = s ~ x» repeated grows
// one block in place (with spare room, doubled as needed) instead of copying
// the whole text every time. The empty text is never allocated: a text value
// with a null pointer is the empty text.
//
// Layout: a header (count, length, room) followed in the same allocation by
// the bytes and a terminating zero, so a text costs one allocation.
#pragma once

#include <cstddef>
#include <string_view>

namespace ozra::value {

class CountedText {
  public:
    // The largest text a value holds; longer results raise "Text too long".
    static constexpr std::size_t MaxLength = std::size_t{1} << 31;

    // A new block holding a copy of the bytes, with a count of 1.
    // The bytes must not be empty (the empty text is a null pointer).
    static CountedText* Create(std::string_view bytes);
    // A new block of the given length whose bytes the caller fills in
    // (through Bytes()) before sharing it; count 1.
    static CountedText* CreateUninitialised(std::size_t length);
    // A new block holding a then b, or nullptr when both are empty.
    static CountedText* Concat(std::string_view a, std::string_view b);
    // Appends the bytes to a block whose count is 1 and answers the block,
    // which may have moved. The bytes may come from the block itself.
    static CountedText* Append(CountedText* text, std::string_view more);

    CountedText(const CountedText&) = delete;
    CountedText& operator=(const CountedText&) = delete;

    void AddRef() noexcept { ++refCount_; }
    void Release() noexcept {
        if (--refCount_ == 0) Destroy();
    }
    std::size_t RefCount() const noexcept { return refCount_; }

    std::string_view View() const noexcept { return {Bytes(), length_}; }
    std::size_t Length() const noexcept { return length_; }
    char* Bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
    const char* Bytes() const noexcept { return reinterpret_cast<const char*>(this + 1); }

  private:
    CountedText(std::size_t length, std::size_t room) noexcept : length_(length), room_(room) {}
    void Destroy() noexcept;

    std::size_t refCount_ = 1;
    std::size_t length_;
    // Bytes the allocation holds, not counting the terminating zero.
    std::size_t room_;
};

} // namespace ozra::value

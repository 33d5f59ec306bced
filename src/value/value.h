// The script value: a 16-byte tagged union in the layout of an automation
// variant.
//
//   bytes 0-1   kind code (ValueKind)
//   bytes 2-3   ownership word
//   bytes 4-7   reserved, always zero
//   bytes 8-15  payload: the number, or a pointer
//
// Integers, floating point, currency (64-bit integer scaled by 10000), dates
// (double days since 1899-12-30) and booleans (16 bits, true is -1: all bits
// set) live in the payload in their natural width, the rest of it zero.
//
// Text (kind 0x100) and wide text (kind 8) point at an immutable
// `CountedText`; a null pointer is the empty text. Scripts are UTF-8, so both
// kinds share that representation; kind 8 only appears through the system's
// own automation layer.
//
// Object references (kind 10) point at a `TtsObject`. With the ownership word
// 1 ("counted") the value owns one reference: copying it takes another
// (the copy is counted too), destroying or overwriting it gives it back.
// With the word 0 the value merely points at the object and copies are plain
// pointers. Only `TtsValueHelper::IsCounted` and `MarkCounted` deal with the
// word for kind 10. Automation objects (kind 9) always own their reference.
//
// Internally the ownership word is 1 for every value that owns something
// (a non-empty text, a counted or automation object), so the copy, move and
// destroy paths test one word and never make a virtual call for numbers.
#pragma once

#include "value/counted_text.h"
#include "value/object.h"

#include <cstdint>
#include <string_view>
#include <utility>

namespace ozra::value {

enum class ValueKind : std::uint16_t {
    Empty = 0,
    Null = 1,
    Int16 = 2,
    Int32 = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    WideText = 8,
    Automation = 9,
    Object = 10,
    Boolean = 11,
    Int8 = 16,
    UInt8 = 17,
    UInt16 = 18,
    UInt32 = 19,
    Int64 = 20,
    Text = 0x100,
};

class TtsValue {
  public:
    constexpr TtsValue() noexcept = default;

    [[gnu::always_inline]] TtsValue(const TtsValue& other) noexcept
        : kind_(other.kind_), ownership_(other.ownership_), payload_(other.payload_) {
        if (ownership_) RetainPayload();
    }
    TtsValue(TtsValue&& other) noexcept
        : kind_(other.kind_), ownership_(other.ownership_), payload_(other.payload_) {
        other.SetEmptyRaw();
    }

    // The new value is taken before the old one is given back, so assigning
    // a value that the old value's object kept alive is safe.
    [[gnu::always_inline]] TtsValue& operator=(const TtsValue& other) noexcept {
        // Numbers and plain references own nothing: a plain copy will do.
        if ((ownership_ | other.ownership_) == 0) {
            kind_ = other.kind_;
            payload_ = other.payload_;
            return *this;
        }
        TtsValue copy(other);
        swap(copy);
        return *this;
    }
    [[gnu::always_inline]] TtsValue& operator=(TtsValue&& other) noexcept {
        if (ownership_ == 0) {
            kind_ = other.kind_;
            ownership_ = other.ownership_;
            payload_ = other.payload_;
            other.SetEmptyRaw();
            return *this;
        }
        TtsValue moved(std::move(other));
        swap(moved);
        return *this;
    }

    constexpr ~TtsValue() {
        if (ownership_) ReleasePayload();
    }

    // Construction, one factory per kind.
    static TtsValue Null() noexcept { return TtsValue(ValueKind::Null); }
    static TtsValue FromInt8(std::int8_t v) noexcept {
        TtsValue value(ValueKind::Int8);
        value.payload_.i8 = v;
        return value;
    }
    static TtsValue FromUInt8(std::uint8_t v) noexcept {
        TtsValue value(ValueKind::UInt8);
        value.payload_.u8 = v;
        return value;
    }
    static TtsValue FromInt16(std::int16_t v) noexcept {
        TtsValue value(ValueKind::Int16);
        value.payload_.i16 = v;
        return value;
    }
    static TtsValue FromUInt16(std::uint16_t v) noexcept {
        TtsValue value(ValueKind::UInt16);
        value.payload_.u16 = v;
        return value;
    }
    static TtsValue FromInt32(std::int32_t v) noexcept {
        TtsValue value(ValueKind::Int32);
        value.payload_.i32 = v;
        return value;
    }
    static TtsValue FromUInt32(std::uint32_t v) noexcept {
        TtsValue value(ValueKind::UInt32);
        value.payload_.u32 = v;
        return value;
    }
    static TtsValue FromInt64(std::int64_t v) noexcept {
        TtsValue value(ValueKind::Int64);
        value.payload_.i64 = v;
        return value;
    }
    // The narrowest of Int32 and Int64 that holds the number.
    static TtsValue FromInteger(std::int64_t v) noexcept {
        return v >= INT32_MIN && v <= INT32_MAX ? FromInt32(static_cast<std::int32_t>(v))
                                                : FromInt64(v);
    }
    static TtsValue FromSingle(float v) noexcept {
        TtsValue value(ValueKind::Single);
        value.payload_.f32 = v;
        return value;
    }
    static TtsValue FromDouble(double v) noexcept {
        TtsValue value(ValueKind::Double);
        value.payload_.f64 = v;
        return value;
    }
    // A currency amount given as its 64-bit integer scaled by 10000.
    static TtsValue FromCurrencyScaled(std::int64_t scaled) noexcept {
        TtsValue value(ValueKind::Currency);
        value.payload_.i64 = scaled;
        return value;
    }
    static TtsValue FromDate(double daysSince18991230) noexcept {
        TtsValue value(ValueKind::Date);
        value.payload_.f64 = daysSince18991230;
        return value;
    }
    static TtsValue FromBoolean(bool v) noexcept {
        TtsValue value(ValueKind::Boolean);
        value.payload_.i16 = v ? -1 : 0;
        return value;
    }
    static TtsValue FromText(std::string_view bytes);
    static TtsValue FromWideText(std::string_view bytes);
    // Takes over the caller's reference to a text block (nullptr: empty text).
    static TtsValue AdoptText(CountedText* text) noexcept;
    // A plain (not counted) object reference; nullptr is a null reference.
    static TtsValue FromObject(TtsObject* object) noexcept;
    // A counted object reference: the value takes a reference of its own.
    static TtsValue FromCountedObject(TtsObject* object) noexcept;
    static TtsValue FromAutomation(Ref<TtsObject> object) noexcept;

    ValueKind Kind() const noexcept { return kind_; }
    bool IsText() const noexcept {
        return kind_ == ValueKind::Text || kind_ == ValueKind::WideText;
    }
    bool IsObject() const noexcept { return kind_ == ValueKind::Object; }
    // Integer kinds 2, 3 and 16 to 20 (not boolean).
    bool IsInteger() const noexcept;

    // Payload readers; each answers a neutral result for other kinds
    // (empty text, null pointer, zero), so they never read a wrong member.
    std::string_view Text() const noexcept {
        return IsText() && payload_.text ? payload_.text->View() : std::string_view();
    }
    CountedText* TextBlock() const noexcept { return IsText() ? payload_.text : nullptr; }
    TtsObject* Object() const noexcept { return IsObject() ? payload_.object : nullptr; }
    TtsObject* Automation() const noexcept {
        return kind_ == ValueKind::Automation ? payload_.object : nullptr;
    }
    // The number of an integer kind; booleans give -1 or 0; other kinds 0.
    std::int64_t Integer() const noexcept {
        switch (kind_) {
        case ValueKind::Int32:
            return payload_.i32;
        case ValueKind::Int64:
            return payload_.i64;
        case ValueKind::Int16:
        case ValueKind::Boolean:
            return payload_.i16;
        case ValueKind::Int8:
            return payload_.i8;
        case ValueKind::UInt8:
            return payload_.u8;
        case ValueKind::UInt16:
            return payload_.u16;
        case ValueKind::UInt32:
            return payload_.u32;
        default:
            return 0;
        }
    }
    // The number of an Int32 or Int64 value, for callers that checked the
    // kind; no switch over the other kinds.
    std::int64_t WideInteger() const noexcept {
        return kind_ == ValueKind::Int32 ? payload_.i32 : payload_.i64;
    }
    // The number of a Single, Double or Date value.
    double Real() const noexcept;
    std::int64_t CurrencyScaled() const noexcept {
        return kind_ == ValueKind::Currency ? payload_.i64 : 0;
    }
    bool Boolean() const noexcept { return kind_ == ValueKind::Boolean && payload_.i16 != 0; }

    void Clear() noexcept { *this = TtsValue(); }

    void swap(TtsValue& other) noexcept {
        std::swap(kind_, other.kind_);
        std::swap(ownership_, other.ownership_);
        std::swap(payload_, other.payload_);
    }

  private:
    friend class TtsValueHelper;

    union Payload {
        std::int8_t i8;
        std::uint8_t u8;
        std::int16_t i16;
        std::uint16_t u16;
        std::int32_t i32;
        std::uint32_t u32;
        std::int64_t i64;
        float f32;
        double f64;
        CountedText* text;
        TtsObject* object;
    };

    explicit TtsValue(ValueKind kind) noexcept : kind_(kind) {}

    void SetEmptyRaw() noexcept {
        kind_ = ValueKind::Empty;
        ownership_ = 0;
        payload_.i64 = 0;
    }
    void RetainPayload() const noexcept {
        if (kind_ == ValueKind::Text || kind_ == ValueKind::WideText) {
            payload_.text->AddRef();
        } else {
            payload_.object->AddRef();
        }
    }
    void ReleasePayload() noexcept {
        if (kind_ == ValueKind::Text || kind_ == ValueKind::WideText) {
            payload_.text->Release();
        } else {
            payload_.object->Release();
        }
    }

    ValueKind kind_ = ValueKind::Empty;
    std::uint16_t ownership_ = 0;
    std::uint32_t reserved_ = 0;
    Payload payload_{.i64 = 0};
};

static_assert(sizeof(TtsValue) == 16, "a value is a 16-byte variant record");

// The process-wide constant Empty value.
inline constexpr TtsValue EmptyValue{};

class TtsValueHelper {
  public:
    // Kind 0, or an object reference with a null pointer. Null is not empty.
    static bool IsEmpty(const TtsValue& value) noexcept {
        return value.kind_ == ValueKind::Empty ||
               (value.kind_ == ValueKind::Object && value.payload_.object == nullptr);
    }
    // Integer kinds and boolean; a text exactly when it reads as a 32-bit
    // decimal integer.
    static bool IsIntLike(const TtsValue& value) noexcept;
    // Whether the value owns something it must give back (a non-empty text,
    // a counted or automation object).
    static bool OwnsPayload(const TtsValue& value) noexcept { return value.ownership_ != 0; }
    static bool IsCounted(const TtsValue& value) noexcept {
        return value.kind_ == ValueKind::Object && value.ownership_ != 0;
    }
    // Whether the value is a non-empty text (kind 0x100) that nothing else
    // shares, so that `AppendText` may grow it in place.
    static bool IsUnsharedText(const TtsValue& value) noexcept {
        return value.kind_ == ValueKind::Text && value.payload_.text &&
               value.payload_.text->RefCount() == 1;
    }
    // Appends bytes to an unshared text (see `IsUnsharedText`) in place.
    static void AppendText(TtsValue& value, std::string_view more) {
        value.payload_.text = CountedText::Append(value.payload_.text, more);
    }
    // Makes an object reference counted: it takes one reference of its own.
    // Does nothing for a counted or null reference or for other kinds.
    static void MarkCounted(TtsValue& value) noexcept {
        if (value.kind_ == ValueKind::Object && value.ownership_ == 0 && value.payload_.object) {
            value.payload_.object->AddRef();
            value.ownership_ = 1;
        }
    }
};

} // namespace ozra::value

// Compact integers, strings and values of the compiled stream.
#include "compiled/stream_bytes.h"

#include <array>
#include <cstring>

namespace ozra::compiled {

using value::TtsValue;
using value::ValueKind;

namespace {

constexpr std::size_t kRecordSize = 16;

// The low-order bytes of a multi-byte record: the fewest that hold every
// non-zero byte of the value.
std::size_t SignificantBytes(std::uint32_t bits) {
    std::size_t count = 4;
    while (count > 1 && ((bits >> (8 * (count - 1))) & 0xFF) == 0)
        --count;
    return count;
}

bool OneByte(std::int32_t value) {
    return value >= 0 && value <= 249;
}

std::array<unsigned char, kRecordSize> Record(ValueKind kind, std::uint16_t ownership) {
    std::array<unsigned char, kRecordSize> record{};
    const auto code = static_cast<std::uint16_t>(kind);
    record[0] = static_cast<unsigned char>(code & 0xFF);
    record[1] = static_cast<unsigned char>(code >> 8);
    record[2] = static_cast<unsigned char>(ownership & 0xFF);
    record[3] = static_cast<unsigned char>(ownership >> 8);
    return record;
}

template <class T> void PutData(std::array<unsigned char, kRecordSize>& record, T data) {
    static_assert(sizeof(T) <= 8);
    // The data bytes are little-endian, as the machine holds them.
    std::memcpy(record.data() + 8, &data, sizeof(T));
}

template <class T> T GetData(std::string_view record) {
    T data;
    std::memcpy(&data, record.data() + 8, sizeof(T));
    return data;
}

// The value of a raw record whose kind holds no pointer.
TtsValue FromRecord(ValueKind kind, std::string_view record) {
    switch (kind) {
    case ValueKind::Empty:
        return TtsValue();
    case ValueKind::Null:
        return TtsValue::Null();
    case ValueKind::Int16:
        return TtsValue::FromInt16(GetData<std::int16_t>(record));
    case ValueKind::Int32:
        return TtsValue::FromInt32(GetData<std::int32_t>(record));
    case ValueKind::Single:
        return TtsValue::FromSingle(GetData<float>(record));
    case ValueKind::Double:
        return TtsValue::FromDouble(GetData<double>(record));
    case ValueKind::Currency:
        return TtsValue::FromCurrencyScaled(GetData<std::int64_t>(record));
    case ValueKind::Date:
        return TtsValue::FromDate(GetData<double>(record));
    case ValueKind::Boolean:
        return TtsValue::FromBoolean(GetData<std::int16_t>(record) != 0);
    case ValueKind::Int8:
        return TtsValue::FromInt8(GetData<std::int8_t>(record));
    case ValueKind::UInt8:
        return TtsValue::FromUInt8(GetData<std::uint8_t>(record));
    case ValueKind::UInt16:
        return TtsValue::FromUInt16(GetData<std::uint16_t>(record));
    case ValueKind::UInt32:
        return TtsValue::FromUInt32(GetData<std::uint32_t>(record));
    case ValueKind::Int64:
        return TtsValue::FromInt64(GetData<std::int64_t>(record));
    default:
        throw EtsCompiler("value type " + std::to_string(static_cast<int>(kind)) +
                          " not supported.");
    }
}

} // namespace

EtsCompiler EtsCompiler::ReadError() {
    return EtsCompiler("Stream read error");
}

void AppendCompact(std::string& out, std::int32_t value) {
    if (value == 0) {
        out.push_back('\0');
    } else if (OneByte(value)) {
        out.push_back(static_cast<char>(value + 5));
    } else if (value < 0 && value != INT32_MIN) {
        out.push_back(static_cast<char>(255));
        AppendCompact(out, -value);
    } else {
        const auto bits = static_cast<std::uint32_t>(value);
        const std::size_t count = SignificantBytes(bits);
        out.push_back(static_cast<char>(count));
        for (std::size_t i = 0; i < count; ++i)
            out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    }
}

void AppendBackwardCompact(std::string& out, std::int32_t value) {
    const std::size_t start = out.size();
    AppendCompact(out, value);
    const auto countByte = static_cast<unsigned char>(out[start]);
    if (countByte >= 1 && countByte <= 5) std::swap(out[start], out.back());
}

void AppendString(std::string& out, std::string_view text) {
    AppendCompact(out, static_cast<std::int32_t>(text.size()));
    out.append(text);
}

void AppendValue(std::string& out, const TtsValue& value, std::int32_t objectNumber) {
    const ValueKind kind = value.Kind();
    switch (kind) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int8:
    case ValueKind::UInt16:
        AppendCompact(out, ValueCode::Integer);
        AppendCompact(out, static_cast<std::int32_t>(value.Integer()));
        return;
    case ValueKind::Text:
    case ValueKind::WideText:
        AppendCompact(out, ValueCode::Text);
        AppendString(out, value.Text());
        return;
    case ValueKind::Boolean:
        AppendCompact(out, ValueCode::Boolean);
        AppendCompact(out, value.Boolean() ? 255 : 0);
        return;
    case ValueKind::UInt8:
        AppendCompact(out, ValueCode::Byte);
        AppendCompact(out, static_cast<std::int32_t>(value.Integer()));
        return;
    default:
        break;
    }
    auto record = Record(kind, value::TtsValueHelper::IsCounted(value) ? 1 : 0);
    switch (kind) {
    case ValueKind::Object:
        PutData(record, objectNumber);
        break;
    case ValueKind::Single:
        PutData(record, static_cast<float>(value.Real()));
        break;
    case ValueKind::Double:
    case ValueKind::Date:
        PutData(record, value.Real());
        break;
    case ValueKind::Currency:
        PutData(record, value.CurrencyScaled());
        break;
    case ValueKind::UInt32:
        PutData(record, static_cast<std::uint32_t>(value.Integer()));
        break;
    case ValueKind::Int64:
        PutData(record, value.Integer());
        break;
    default:
        break;
    }
    AppendCompact(out, static_cast<std::int32_t>(kind));
    out.append(reinterpret_cast<const char*>(record.data()), record.size());
}

std::uint8_t ByteReader::Byte() {
    if (at_ == end_) throw EtsCompiler::ReadError();
    return *at_++;
}

std::int32_t ByteReader::LongCompact() {
    bool negative = false;
    std::uint8_t first = Byte();
    // Each 255 negates what follows; a writer uses one at most.
    while (first == 255) {
        negative = !negative;
        first = Byte();
    }
    std::uint32_t bits = 0;
    if (first >= 6) {
        bits = first - 5u;
    } else if (first != 0) {
        if (first > Remaining()) throw EtsCompiler::ReadError();
        for (std::uint8_t i = 0; i < first && i < 4; ++i)
            bits |= static_cast<std::uint32_t>(at_[i]) << (8 * i);
        at_ += first;
    }
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::string_view ByteReader::Raw(std::size_t count) {
    if (count > Remaining()) throw EtsCompiler::ReadError();
    const std::string_view run(reinterpret_cast<const char*>(at_), count);
    at_ += count;
    return run;
}

std::string_view ByteReader::String() {
    const std::int32_t length = Compact();
    if (length < 0) throw EtsCompiler::ReadError();
    return Raw(static_cast<std::size_t>(length));
}

StreamValue ByteReader::Value() {
    const std::int32_t code = Compact();
    StreamValue result;
    switch (code) {
    case ValueCode::Integer:
        result.Value = TtsValue::FromInt32(Compact());
        return result;
    case ValueCode::Text:
        result.Value = TtsValue::FromText(String());
        return result;
    case ValueCode::Boolean:
        result.Value = TtsValue::FromBoolean(Compact() != 0);
        return result;
    case ValueCode::Byte:
        result.Value = TtsValue::FromUInt8(static_cast<std::uint8_t>(Compact()));
        return result;
    default:
        break;
    }
    const std::string_view record = Raw(kRecordSize);
    const auto kind = static_cast<std::int32_t>(static_cast<std::uint8_t>(record[0]) |
                                                (static_cast<std::uint8_t>(record[1]) << 8));
    if (kind != code)
        throw EtsCompiler("value type " + std::to_string(code) + " holds a record of type " +
                          std::to_string(kind) + ".");
    if (code == ValueCode::Object) {
        result.IsObject = true;
        result.ObjectNumber = GetData<std::int32_t>(record);
        return result;
    }
    result.Value = FromRecord(static_cast<ValueKind>(code), record);
    return result;
}

Trailer ReadTrailer(std::string_view bytes) {
    if (bytes.empty()) throw EtsCompiler::ReadError();
    const auto last = static_cast<std::uint8_t>(bytes.back());
    if (last == 255) throw EtsCompiler("Unsupported file format.");
    if (last == 0 || last >= 6) return Trailer{last == 0 ? 0 : last - 5, 1};
    const std::size_t count = last;
    if (bytes.size() < count + 1) throw EtsCompiler::ReadError();
    // Put the record back into its forward order and read it so.
    std::string forward(bytes.substr(bytes.size() - count - 1));
    std::swap(forward.front(), forward.back());
    ByteReader reader(forward);
    const std::int32_t value = reader.Compact();
    if (value < 0) throw EtsCompiler("Unsupported file format.");
    return Trailer{value, count + 1};
}

} // namespace ozra::compiled

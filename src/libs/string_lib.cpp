// The string library's text, number and formatting methods, and its table
// of published methods (the regex methods are in string_regex.cpp).
#include "libs/string_lib.h"

#include "libs/lib_support.h"
#include "libs/string_format.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/number_text.h"
#include "value/operators.h"

#include <cmath>
#include <optional>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace ozra::libs {

using value::EtsRuntime;
using value::TtsValueHelper;

namespace {

std::string ReceiverText(const LibCall& call) {
    return value::ToText(call.Receiver());
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A 32-bit integer: leading blanks, a sign, and decimal digits or, after
// "$", "x", "X" or "0x", up to 32 bits of hexadecimal digits.
std::optional<std::int32_t> ParseScriptInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    std::int64_t number = 0;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        number = number * (hex ? 16 : 10) + digit;
        if (number > (hex ? 0xFFFFFFFFll : 0x80000000ll)) return std::nullopt;
    }
    if (hex) number = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    if (negative) number = -number;
    if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(number);
}

} // namespace

void TtsLibString::Compare(LibCall& call) {
    using value::CompareResult;
    const CompareResult order = value::TtsOperatorHelper::Compare(call.Receiver(), call.Argument(0),
                                                                  Host().CaseSensitive());
    constexpr int codes[] = {0, -1, 1, -9};
    call.ReturnInteger(codes[static_cast<int>(order)]);
}

void TtsLibString::Concat(LibCall& call) {
    std::string text = ReceiverText(call);
    for (int i = 0; i < call.Count(); ++i)
        text += call.Text(i);
    if (text.size() > value::CountedText::MaxLength) throw EtsRuntime::TextTooLong();
    call.ReturnText(text);
}

void TtsLibString::Contains(LibCall& call) {
    const std::string part = call.Text(0);
    call.ReturnBoolean(!part.empty() && ReceiverText(call).find(part) != std::string::npos);
}

void TtsLibString::Delete(LibCall& call) {
    std::string text = ReceiverText(call);
    const std::int64_t position = call.Integer(0);
    const std::int64_t count = call.Integer(1);
    if (position >= 0 && position < static_cast<std::int64_t>(text.size()) && count > 0)
        text.erase(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
    call.ReturnText(text);
}

void TtsLibString::EndsWith(LibCall& call) {
    const std::string part = call.Text(0);
    call.ReturnBoolean(!part.empty() && ReceiverText(call).ends_with(part));
}

void TtsLibString::Format(LibCall& call) {
    std::string format = ReceiverText(call);
    int first = 0;
    if (format.empty()) {
        format = call.Text(0);
        first = 1;
    }
    std::vector<TtsValue> values;
    for (int i = first; i < call.Count(); ++i)
        values.push_back(call.Argument(i));
    call.ReturnText(FormatValues(format, values));
}

// The bytes are read through the kernel (process_vm_readv on this very
// process), so an address that is not readable memory gives a clear error
// instead of a crash.
void TtsLibString::FromPointer(LibCall& call) {
    const std::int64_t address = value::ToInt64(call.Argument(0));
    std::string text;
    if (address != 0) {
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        auto at = static_cast<std::uintptr_t>(address);
        for (;;) {
            char chunk[4096];
            const std::size_t toPageEnd =
                static_cast<std::size_t>(pageSize) - at % static_cast<std::uintptr_t>(pageSize);
            const std::size_t want = std::min(sizeof chunk, toPageEnd);
            iovec local{chunk, want};
            iovec remote{reinterpret_cast<void*>(at), want};
            const ssize_t got = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
            if (got <= 0)
                throw EtsRuntime("address " + std::to_string(address) + " cannot be read.");
            const std::string_view bytes(chunk, static_cast<std::size_t>(got));
            const std::size_t end = bytes.find('\0');
            text.append(bytes.substr(0, end));
            if (end != std::string_view::npos) break;
            if (text.size() > value::CountedText::MaxLength) throw EtsRuntime::TextTooLong();
            at += static_cast<std::uintptr_t>(got);
        }
    }
    call.ReturnText(text);
}

void TtsLibString::IndexOf(LibCall& call) {
    const std::string part = call.Text(0);
    const std::size_t found = part.empty() ? std::string::npos : ReceiverText(call).find(part);
    call.ReturnInteger(found == std::string::npos ? -1 : static_cast<std::int64_t>(found));
}

// Null is empty too: a test for "null or empty" must not fail on Null.
// Objects are not empty unless the reference is null.
void TtsLibString::IsNullOrEmpty(LibCall& call) {
    const TtsValue& receiver = call.Receiver();
    bool empty = TtsValueHelper::IsEmpty(receiver) || receiver.Kind() == value::ValueKind::Null;
    if (!empty && !receiver.IsObject() && receiver.Kind() != value::ValueKind::Automation)
        empty = value::ToText(receiver).empty();
    call.ReturnBoolean(empty);
}

void TtsLibString::Left(LibCall& call) {
    const std::string text = ReceiverText(call);
    const std::int32_t count = call.Integer(0);
    call.ReturnText(count <= 0 ? std::string_view()
                               : std::string_view(text).substr(0, static_cast<std::size_t>(count)));
}

void TtsLibString::Length(LibCall& call) {
    call.ReturnInteger(static_cast<std::int64_t>(ReceiverText(call).size()));
}

void TtsLibString::Quote(LibCall& call) {
    std::string quoted = "'";
    for (const char c : ReceiverText(call)) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    quoted += '\'';
    call.ReturnText(quoted);
}

void TtsLibString::Replace(LibCall& call) {
    const std::string text = ReceiverText(call);
    const std::string from = call.Text(0);
    const std::string to = call.Text(1);
    if (from.empty()) {
        call.ReturnText(text);
        return;
    }
    std::string result;
    std::size_t copied = 0;
    for (std::size_t found = text.find(from); found != std::string::npos;
         found = text.find(from, copied)) {
        result.append(text, copied, found - copied);
        result += to;
        copied = found + from.size();
        if (result.size() > value::CountedText::MaxLength) throw EtsRuntime::TextTooLong();
    }
    result.append(text, copied);
    call.ReturnText(result);
}

void TtsLibString::Replicate(LibCall& call) {
    const std::string text = ReceiverText(call);
    const std::int32_t count = call.Integer(0);
    if (count <= 0 || text.empty()) {
        call.ReturnText({});
        return;
    }
    if (text.size() * static_cast<std::size_t>(count) > value::CountedText::MaxLength)
        throw EtsRuntime::TextTooLong();
    std::string result;
    result.reserve(text.size() * static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i)
        result += text;
    call.ReturnText(result);
}

void TtsLibString::Reverse(LibCall& call) {
    const std::string text = ReceiverText(call);
    call.ReturnText(std::string(text.rbegin(), text.rend()));
}

void TtsLibString::Right(LibCall& call) {
    const std::string text = ReceiverText(call);
    const std::int32_t count = call.Integer(0);
    const std::size_t take =
        count <= 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(count));
    call.ReturnText(std::string_view(text).substr(text.size() - take));
}

void TtsLibString::SameTo(LibCall& call) {
    const std::string a = ReceiverText(call);
    const std::string b = call.Text(0);
    bool same = a.size() == b.size();
    for (std::size_t i = 0; same && i < a.size(); ++i)
        same = AsciiLower(a[i]) == AsciiLower(b[i]);
    call.ReturnBoolean(same);
}

void TtsLibString::Settings(LibCall& call) {
    const TtsValue* flag = call.Named("Case");
    if (!flag) throw EtsRuntime("parameter Case not found.");
    const bool caseSensitive = value::ToBoolean(*flag);
    Host().SetCaseSensitive(caseSensitive);
    call.ReturnBoolean(caseSensitive);
}

void TtsLibString::StartsWith(LibCall& call) {
    const std::string part = call.Text(0);
    call.ReturnBoolean(!part.empty() && ReceiverText(call).starts_with(part));
}

void TtsLibString::SubString(LibCall& call) {
    const std::string text = ReceiverText(call);
    const std::int64_t position = std::max<std::int64_t>(call.Integer(0), 0);
    const std::int64_t count = call.Integer(1);
    if (position >= static_cast<std::int64_t>(text.size()) || count < 0) {
        call.ReturnText({});
        return;
    }
    call.ReturnText(std::string_view(text).substr(static_cast<std::size_t>(position),
                                                  static_cast<std::size_t>(count)));
}

void TtsLibString::ToByte(LibCall& call) {
    const std::string text = ReceiverText(call);
    call.ReturnInteger(text.empty() ? 0 : static_cast<unsigned char>(text.front()));
}

void TtsLibString::ToChar(LibCall& call) {
    const char c = static_cast<char>(value::ToInt64(call.Receiver()) & 0xFF);
    call.ReturnText(std::string_view(&c, 1));
}

void TtsLibString::ToHexString(LibCall& call) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : ReceiverText(call)) {
        const auto code = static_cast<unsigned char>(c);
        hex += digits[code >> 4];
        hex += digits[code & 15];
    }
    call.ReturnText(hex);
}

void TtsLibString::ToLower(LibCall& call) {
    std::string text = ReceiverText(call);
    for (char& c : text)
        c = AsciiLower(c);
    call.ReturnText(text);
}

void TtsLibString::ToLowerCamelCase(LibCall& call) {
    std::string text = ReceiverText(call);
    if (!text.empty()) text.front() = AsciiLower(text.front());
    call.ReturnText(text);
}

void TtsLibString::ToNumber(LibCall& call) {
    const std::string text = ReceiverText(call);
    const bool truncate = call.Flag(0, false);
    if (text.find('.') == std::string::npos) {
        const std::optional<std::int32_t> number = ParseScriptInteger(text);
        if (!number) throw EtsRuntime("'" + text + "' is not a valid integer value");
        call.Return(truncate ? TtsValue::FromInt64(*number) : TtsValue::FromInt32(*number));
        return;
    }
    const std::optional<double> number = value::ParseDouble(text);
    if (!number || !std::isfinite(*number))
        throw EtsRuntime("'" + text + "' is not a valid floating point value");
    if (!truncate) {
        call.Return(TtsValue::FromDouble(*number));
        return;
    }
    const double whole = std::trunc(*number);
    if (whole < -9.2233720368547758e18 || whole >= 9.2233720368547758e18)
        throw EtsRuntime::RangeError("Double", "Int64");
    call.Return(TtsValue::FromInt64(static_cast<std::int64_t>(whole)));
}

void TtsLibString::ToUpper(LibCall& call) {
    std::string text = ReceiverText(call);
    for (char& c : text)
        c = AsciiUpper(c);
    call.ReturnText(text);
}

void TtsLibString::ToUpperCamelCase(LibCall& call) {
    std::string text = ReceiverText(call);
    if (!text.empty()) text.front() = AsciiUpper(text.front());
    call.ReturnText(text);
}

void TtsLibString::Trim(LibCall& call) {
    const std::string text = ReceiverText(call);
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    call.ReturnText(std::string_view(text).substr(first, last - first));
}

void TtsLibString::TrimEnd(LibCall& call) {
    const std::string text = ReceiverText(call);
    std::size_t last = text.size();
    while (last > 0 && IsBlank(text[last - 1]))
        --last;
    call.ReturnText(std::string_view(text).substr(0, last));
}

void TtsLibString::TrimStart(LibCall& call) {
    const std::string text = ReceiverText(call);
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    call.ReturnText(std::string_view(text).substr(first));
}

TtsLibString::TtsLibString(runtime::TtsHost& host) : TtsLibBase(host) {
    host.SetDefaultLibrary(*this);
    Publish({
        {"Compare", Method<&TtsLibString::Compare>, 1, 1},
        {"Concat", Method<&TtsLibString::Concat>, 1, Unlimited},
        {"Contains", Method<&TtsLibString::Contains>, 1, 1},
        {"Delete", Method<&TtsLibString::Delete>, 2, 2},
        {"EndsWith", Method<&TtsLibString::EndsWith>, 1, 1},
        {"Format", Method<&TtsLibString::Format>, 1, Unlimited},
        {"FromPointer", Method<&TtsLibString::FromPointer>, 1, 1},
        {"IndexOf", Method<&TtsLibString::IndexOf>, 1, 1},
        {"IsNullOrEmpty", Method<&TtsLibString::IsNullOrEmpty>, 0, 0},
        {"Left", Method<&TtsLibString::Left>, 1, 1},
        {"Length", Method<&TtsLibString::Length>, 0, 0},
        {"Quote", Method<&TtsLibString::Quote>, 0, 0},
        {"RegexIsMatch", Method<&TtsLibString::RegexIsMatch>, 1, Unlimited},
        {"RegexMatch", Method<&TtsLibString::RegexMatch>, 1, Unlimited},
        {"RegexMatches", Method<&TtsLibString::RegexMatchs>, 1, Unlimited},
        {"RegexMatchs", Method<&TtsLibString::RegexMatchs>, 1, Unlimited},
        {"RegexReplace", Method<&TtsLibString::RegexReplace>, 2, Unlimited},
        {"RegexSplit", Method<&TtsLibString::RegexSplit>, 1, Unlimited},
        {"Replace", Method<&TtsLibString::Replace>, 2, 2},
        {"Replicate", Method<&TtsLibString::Replicate>, 1, 1},
        {"Reverse", Method<&TtsLibString::Reverse>, 0, 0},
        {"Right", Method<&TtsLibString::Right>, 1, 1},
        {"SameTo", Method<&TtsLibString::SameTo>, 1, 1},
        {"Settings", Method<&TtsLibString::Settings>, 1, Unlimited},
        {"StartsWith", Method<&TtsLibString::StartsWith>, 1, 1},
        {"SubString", Method<&TtsLibString::SubString>, 2, 2},
        {"ToByte", Method<&TtsLibString::ToByte>, 0, 0},
        {"ToChar", Method<&TtsLibString::ToChar>, 0, 0},
        {"ToHexString", Method<&TtsLibString::ToHexString>, 0, 0},
        {"ToLower", Method<&TtsLibString::ToLower>, 0, 0},
        {"ToLowerCamelCase", Method<&TtsLibString::ToLowerCamelCase>, 0, 0},
        {"ToNumber", Method<&TtsLibString::ToNumber>, 0, 1},
        {"ToUpper", Method<&TtsLibString::ToUpper>, 0, 0},
        {"ToUpperCamelCase", Method<&TtsLibString::ToUpperCamelCase>, 0, 0},
        {"Trim", Method<&TtsLibString::Trim>, 0, 0},
        {"TrimEnd", Method<&TtsLibString::TrimEnd>, 0, 0},
        {"TrimStart", Method<&TtsLibString::TrimStart>, 0, 0},
    });
}

} // namespace ozra::libs

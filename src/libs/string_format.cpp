// Format directives: parsing, value conversion and padding.
//
// Floating-point output: "e" gives «d.ddd…E+ddd» with the precision as the
// number of significant digits; "g" the shorter of fixed and scientific
// without trailing zeros («1.5», «1E20»); "n" fixed with "," thousands
// separators; "m" a money amount as «$1,234.50» («-$1.00» when negative).
#include "libs/string_format.h"

#include "value/conversions.h"
#include "value/errors.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ozra::libs {

namespace {

using value::EtsRuntime;
using value::TtsValue;

struct Directive {
    bool LeftJustify = false;
    int Width = -1;
    int Precision = -1;
    char Type = 0;
};

class Formatter {
  public:
    Formatter(std::string_view format, std::span<const TtsValue> values)
        : format_(format), values_(values) {}

    std::string Run() {
        for (std::size_t i = 0; i < format_.size();) {
            const std::size_t percent = format_.find('%', i);
            if (percent == std::string_view::npos) {
                out_.append(format_.substr(i));
                break;
            }
            out_.append(format_.substr(i, percent - i));
            i = percent + 1;
            if (i < format_.size() && format_[i] == '%') {
                out_ += '%';
                ++i;
                continue;
            }
            i = Directive(i);
        }
        return std::move(out_);
    }

  private:
    [[noreturn]] void Invalid() const {
        throw EtsRuntime("Format '" + std::string(format_) +
                         "' invalid or incompatible with argument");
    }
    [[noreturn]] void NoArgument() const {
        throw EtsRuntime("No argument for format '" + std::string(format_) + "'");
    }

    const TtsValue& NextValue() {
        if (next_ >= values_.size()) NoArgument();
        return values_[next_++];
    }

    // A decimal number or "*"; -1 when there is none.
    int Number(std::size_t& i) {
        if (i < format_.size() && format_[i] == '*') {
            ++i;
            try {
                return value::ToInteger(NextValue());
            } catch (const value::EtsException&) {
                Invalid();
            }
        }
        if (i >= format_.size() || !std::isdigit(static_cast<unsigned char>(format_[i]))) return -1;
        long number = 0;
        while (i < format_.size() && std::isdigit(static_cast<unsigned char>(format_[i]))) {
            number = number * 10 + (format_[i++] - '0');
            if (number > MaxFormatWidth) Invalid();
        }
        return static_cast<int>(number);
    }

    std::size_t Directive(std::size_t i) {
        struct Directive d;
        int number = Number(i);
        if (i < format_.size() && format_[i] == ':') {
            if (number < 0) Invalid();
            next_ = static_cast<std::size_t>(number);
            ++i;
            number = -1;
        }
        if (number < 0) {
            if (i < format_.size() && format_[i] == '-') {
                d.LeftJustify = true;
                ++i;
            }
            number = Number(i);
        }
        d.Width = number;
        if (i < format_.size() && format_[i] == '.') {
            ++i;
            d.Precision = Number(i);
            if (d.Precision < 0) d.Precision = 0;
        }
        if (d.Width > MaxFormatWidth || d.Precision > MaxFormatWidth) Invalid();
        if (i >= format_.size()) Invalid();
        d.Type = static_cast<char>(std::tolower(static_cast<unsigned char>(format_[i++])));
        Pad(d, Convert(d, NextValue()));
        return i;
    }

    void Pad(const struct Directive& d, const std::string& text) {
        const std::size_t width = d.Width < 0 ? 0 : static_cast<std::size_t>(d.Width);
        const std::size_t fill = text.size() < width ? width - text.size() : 0;
        if (!d.LeftJustify) out_.append(fill, ' ');
        out_ += text;
        if (d.LeftJustify) out_.append(fill, ' ');
    }

    std::int64_t Integer(const TtsValue& value) const {
        try {
            return value::ToInt64(value);
        } catch (const value::EtsException&) {
            Invalid();
        }
    }
    double Real(const TtsValue& value) const {
        try {
            return value::ToDouble(value);
        } catch (const value::EtsException&) {
            Invalid();
        }
    }

    static std::string WithMinimumDigits(std::string digits, int precision) {
        const bool negative = !digits.empty() && digits.front() == '-';
        const std::size_t count = digits.size() - (negative ? 1 : 0);
        if (precision > 0 && count < static_cast<std::size_t>(precision))
            digits.insert(negative ? 1 : 0, static_cast<std::size_t>(precision) - count, '0');
        return digits;
    }

    // Negative numbers print as their 32-bit two's complement when they
    // fit 32 bits, otherwise as 64-bit.
    static std::uint64_t Unsigned(std::int64_t number) {
        if (number < 0 && number >= INT32_MIN) return static_cast<std::uint32_t>(number);
        return static_cast<std::uint64_t>(number);
    }

    static std::string Printf(const char* format, int precision, double number) {
        char buffer[512];
        const int length = std::snprintf(buffer, sizeof buffer, format, precision, number);
        if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer)
            return std::string(buffer, static_cast<std::size_t>(length));
        std::string big(static_cast<std::size_t>(length) + 1, '\0');
        std::snprintf(big.data(), big.size(), format, precision, number);
        big.resize(static_cast<std::size_t>(length));
        return big;
    }

    // "E+05" as "E+005".
    static std::string ThreeDigitExponent(std::string text) {
        const std::size_t e = text.find('E');
        if (e == std::string::npos || e + 2 > text.size()) return text;
        const std::size_t digits = text.size() - (e + 2);
        if (digits < 3) text.insert(e + 2, 3 - digits, '0');
        return text;
    }

    // "1.5000E+20" as "1.5E20"; fixed "1.5000" as "1.5".
    static std::string General(double number, int precision) {
        std::string text = Printf("%.*G", precision, number);
        const std::size_t e = text.find('E');
        std::string mantissa = text.substr(0, e);
        std::string exponent = e == std::string::npos ? "" : text.substr(e + 1);
        if (!exponent.empty()) {
            const bool negative = exponent.front() == '-';
            std::size_t first = exponent.find_first_not_of("+-0");
            exponent = (negative ? "E-" : "E") +
                       (first == std::string::npos ? "0" : exponent.substr(first));
        }
        return mantissa + exponent;
    }

    static std::string Grouped(std::string fixed) {
        const bool negative = !fixed.empty() && fixed.front() == '-';
        std::size_t end = fixed.find('.');
        if (end == std::string::npos) end = fixed.size();
        const std::size_t begin = negative ? 1 : 0;
        for (std::size_t pos = end; pos > begin + 3; pos -= 3)
            fixed.insert(pos - 3, 1, ',');
        return fixed;
    }

    std::string Convert(const struct Directive& d, const TtsValue& value) const {
        if (value.Kind() == value::ValueKind::Null) Invalid();
        switch (d.Type) {
        case 'd':
            return WithMinimumDigits(std::to_string(Integer(value)), d.Precision);
        case 'u':
            return WithMinimumDigits(std::to_string(Unsigned(Integer(value))), d.Precision);
        case 'x': {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%llX",
                          static_cast<unsigned long long>(Unsigned(Integer(value))));
            return WithMinimumDigits(buffer, d.Precision);
        }
        case 'e': {
            const int digits = d.Precision < 1 ? 15 : std::min(d.Precision, 18);
            return ThreeDigitExponent(Printf("%.*E", digits - 1, Real(value)));
        }
        case 'f':
            return Printf("%.*f", d.Precision < 0 ? 2 : std::min(d.Precision, 18), Real(value));
        case 'g':
            return General(Real(value), d.Precision < 1 ? 15 : std::min(d.Precision, 18));
        case 'n':
            return Grouped(
                Printf("%.*f", d.Precision < 0 ? 2 : std::min(d.Precision, 18), Real(value)));
        case 'm': {
            const double amount = Real(value);
            const std::string digits = Grouped(
                Printf("%.*f", d.Precision < 0 ? 2 : std::min(d.Precision, 18), std::fabs(amount)));
            return (amount < 0 ? "-$" : "$") + digits;
        }
        case 'p': {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%08llX",
                          static_cast<unsigned long long>(Integer(value)) & 0xFFFFFFFFull);
            return buffer;
        }
        case 's': {
            std::string text;
            try {
                text = value::ToText(value);
            } catch (const value::EtsException&) {
                Invalid();
            }
            if (d.Precision >= 0 && text.size() > static_cast<std::size_t>(d.Precision))
                text.resize(static_cast<std::size_t>(d.Precision));
            return text;
        }
        default:
            Invalid();
        }
    }

    std::string_view format_;
    std::span<const TtsValue> values_;
    std::size_t next_ = 0;
    std::string out_;
};

} // namespace

std::string FormatValues(std::string_view format, std::span<const TtsValue> values) {
    return Formatter(format, values).Run();
}

} // namespace ozra::libs

#include "cell_compare.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace controls {
namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

template <typename T> int Order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Reads an unsigned decimal number of 1 to `maxDigits` digits at `pos`.
bool ReadNumber(const std::string& text, std::size_t& pos, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (pos < text.size() && IsDigit(text[pos]) && digits < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0 && !(pos < text.size() && IsDigit(text[pos]));
}

void SkipSpaces(const std::string& text, std::size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 30 December 1899 to the given date (proleptic Gregorian calendar).
long DaySerial(int year, int month, int day) {
    // Days from 1 March of year 0, shifted so that the year starts in March.
    auto civil = [](int y, int m, int d) {
        y -= m <= 2 ? 1 : 0;
        long era = (y >= 0 ? y : y - 399) / 400;
        long yoe = y - era * 400;
        long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe;
    };
    return civil(year, month, day) - civil(1899, 12, 30);
}

bool ReadDate(const std::string& text, std::size_t& pos, double& serial) {
    std::size_t p = pos;
    int first = 0, firstDigits = 0;
    if (!ReadNumber(text, p, 4, first, firstDigits)) return false;
    if (p >= text.size() || (text[p] != '-' && text[p] != '/')) return false;
    char separator = text[p++];
    int second = 0, secondDigits = 0;
    if (!ReadNumber(text, p, 2, second, secondDigits)) return false;
    if (p >= text.size() || text[p] != separator) return false;
    ++p;
    int third = 0, thirdDigits = 0;
    if (!ReadNumber(text, p, 4, third, thirdDigits)) return false;
    int year = 0, month = 0, day = 0;
    if (firstDigits == 4) { // year first
        year = first;
        month = second;
        day = third;
        if (thirdDigits > 2) return false;
    } else { // month, day, year
        if (firstDigits > 2) return false;
        month = first;
        day = second;
        if (thirdDigits == 4) {
            year = third;
        } else if (thirdDigits <= 2) {
            year = third < 30 ? 2000 + third : 1900 + third;
        } else {
            return false;
        }
    }
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    serial = static_cast<double>(DaySerial(year, month, day));
    pos = p;
    return true;
}

bool ReadTime(const std::string& text, std::size_t& pos, double& fraction) {
    std::size_t p = pos;
    int hour = 0, minute = 0, second = 0, digits = 0;
    if (!ReadNumber(text, p, 2, hour, digits)) return false;
    if (p >= text.size() || text[p] != ':') return false;
    ++p;
    if (!ReadNumber(text, p, 2, minute, digits) || digits != 2) return false;
    if (p < text.size() && text[p] == ':') {
        ++p;
        if (!ReadNumber(text, p, 2, second, digits) || digits != 2) return false;
    }
    std::size_t q = p;
    SkipSpaces(text, q);
    bool halfDay = q + 2 <= text.size() && (text[q + 1] == 'M' || text[q + 1] == 'm') &&
                   (q + 2 == text.size() || IsSpace(text[q + 2]));
    if (halfDay) {
        char half = static_cast<char>(std::toupper(static_cast<unsigned char>(text[q])));
        if (half == 'A' || half == 'P') {
            if (hour < 1 || hour > 12) return false;
            hour = hour % 12 + (half == 'P' ? 12 : 0);
            p = q + 2;
        }
    }
    if (hour > 23 || minute > 59 || second > 59) return false;
    fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    pos = p;
    return true;
}

} // namespace

std::optional<std::uint32_t> ParseHexCell(const std::string& text) {
    std::size_t pos = 0;
    SkipSpaces(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // strtoul takes "0x" as a prefix only when a hex digit follows it.
    if (pos + 2 < text.size() && text[pos] == '0' &&
        (text[pos + 1] == 'x' || text[pos + 1] == 'X') && HexDigitValue(text[pos + 2]) >= 0) {
        pos += 2;
    }
    if (pos >= text.size()) return std::nullopt;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; pos < text.size(); ++pos) {
        int digit = HexDigitValue(text[pos]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    if (overflow) return 0xFFFFFFFFu;
    std::uint32_t result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

std::optional<double> ParseDecimalCell(const std::string& text) {
    std::size_t end = text.size();
    if (end > 0 && text[end - 1] == '%') --end;
    std::size_t pos = 0;
    SkipSpaces(text, pos);
    std::string number;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') number += '-';
        ++pos;
    }
    std::size_t mantissaDigits = 0;
    while (pos < end && IsDigit(text[pos])) {
        number += text[pos++];
        ++mantissaDigits;
    }
    if (pos < end && text[pos] == '.') {
        number += text[pos++];
        while (pos < end && IsDigit(text[pos])) {
            number += text[pos++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t p = pos + 1;
        std::string exponent = "e";
        if (p < end && (text[p] == '+' || text[p] == '-')) exponent += text[p++];
        std::size_t exponentDigits = 0;
        while (p < end && IsDigit(text[p])) {
            exponent += text[p++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
        number += exponent;
        pos = p;
    }
    if (pos != end) return std::nullopt;
    double value = 0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Like strtod: too large gives +-HUGE_VAL, too small gives 0.
        bool tiny = number.find("e-") != std::string::npos;
        bool minus = number[0] == '-';
        value = tiny ? 0.0 : (minus ? -HUGE_VAL : HUGE_VAL);
    } else if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseDateCell(const std::string& text) {
    std::size_t pos = 0;
    SkipSpaces(text, pos);
    double day = 0, time = 0;
    bool hasDate = ReadDate(text, pos, day);
    bool hasTime = false;
    if (hasDate) {
        std::size_t p = pos;
        SkipSpaces(text, p);
        if (p > pos && ReadTime(text, p, time)) {
            hasTime = true;
            pos = p;
        }
    } else {
        hasTime = ReadTime(text, pos, time);
    }
    if (!hasDate && !hasTime) return std::nullopt;
    SkipSpaces(text, pos);
    if (pos != text.size()) return std::nullopt;
    return day + time;
}

CellKey MakeCellKey(const std::string& text) {
    CellKey key;
    key.text = text;
    if (text.empty()) return key;
    key.hex = ParseHexCell(text);
    key.decimal = ParseDecimalCell(text);
    key.date = ParseDateCell(text);
    return key;
}

int CompareCellKeys(const CellKey& a, const CellKey& b) {
    if (a.hex && b.hex) return Order(*a.hex, *b.hex);
    if (a.decimal && b.decimal) return Order(*a.decimal, *b.decimal);
    if (a.date && b.date) return Order(*a.date, *b.date);
    int result = std::strcmp(a.text.c_str(), b.text.c_str());
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CompareCellTexts(const std::string& a, const std::string& b) {
    return CompareCellKeys(MakeCellKey(a), MakeCellKey(b));
}

} // namespace controls

#include "content/Gs1Content.h"

#include "content/Gs1Identifiers.h"

namespace korvex::content {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool inSet82(char c) {
    if (isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return std::string_view("!\"%&'()*+,-./:;<=>?_").find(c) != std::string_view::npos;
}

bool inSet39(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'Z') || c == '#' || c == '-' || c == '/';
}

bool inSet(TGs1CharSet set, char c) {
    switch (set) {
    case TGs1CharSet::Numeric:
        return isDigit(c);
    case TGs1CharSet::Set39:
        return inSet39(c);
    case TGs1CharSet::Set64:
        return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
               c == '_';
    case TGs1CharSet::YesNo:
        return c == '0' || c == '1';
    case TGs1CharSet::Minus:
        return c == '-';
    case TGs1CharSet::Set82:
        break;
    }
    return inSet82(c);
}

// The length of "(digits)" at p, 0 when there is none; AIs have two to four digits.
std::size_t identifierAt(std::string_view text, std::size_t p) {
    if (p >= text.size() || text[p] != '(') return 0;
    std::size_t q = p + 1;
    while (q < text.size() && isDigit(text[q]) && q - p <= 4)
        ++q;
    const std::size_t digits = q - p - 1;
    if (digits < 2 || digits > 4 || q >= text.size() || text[q] != ')') return 0;
    return q + 1 - p;
}

int twoDigits(std::string_view s, std::size_t at) {
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// YYMMDD; day 00 only where the AI allows it. The century is open, so a 29 February needs a
// year divisible by four (2000 was a leap year as well).
bool validDate(std::string_view digits, bool dayMayBeZero) {
    const int year = twoDigits(digits, 0);
    const int month = twoDigits(digits, 2);
    const int day = twoDigits(digits, 4);
    if (month < 1 || month > 12) return false;
    if (day == 0) return dayMayBeZero;
    static constexpr int DAYS[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && day == 29) return year % 4 == 0;
    return day <= DAYS[month - 1];
}

bool validTime(std::string_view digits) {
    for (std::size_t at = 0; at + 1 < digits.size(); at += 2)
        if (twoDigits(digits, at) >= (at == 0 ? 24 : 60)) return false;
    return true;
}

bool validFullDate(std::string_view digits) {
    const int year = twoDigits(digits, 0) * 100 + twoDigits(digits, 2);
    const int month = twoDigits(digits, 4);
    const int day = twoDigits(digits, 6);
    if (month < 1 || month > 12 || day == 0) return false;
    static constexpr int DAYS[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && day == 29) return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= DAYS[month - 1];
}

bool validDatePart(std::string_view value, TGs1Date rule) {
    switch (rule) {
    case TGs1Date::None:
        return true;
    case TGs1Date::DayMayBeZero:
        return validDate(value, true);
    case TGs1Date::Exact:
        return validDate(value, false);
    case TGs1Date::WithTime:
        return validDate(value.substr(0, 6), false) && twoDigits(value, 6) < 24 &&
               twoDigits(value, 8) < 60;
    case TGs1Date::OneOrTwo:
        return (value.size() == 6 || value.size() == 12) && validDate(value.substr(0, 6), false) &&
               (value.size() == 6 || validDate(value.substr(6), false));
    case TGs1Date::HourMinute:
        return value.empty() || (value.size() == 4 && validTime(value));
    case TGs1Date::FullDate:
        return value.size() == 8 && validFullDate(value);
    case TGs1Date::DateHour:
        return value.size() % 2 == 0 && validDate(value.substr(0, 6), false) &&
               validTime(value.substr(6));
    }
    return false;
}

TGs1Fault checkElement(const TGs1Identifier& identifier, std::string_view data) {
    std::size_t at = 0;
    TGs1Fault fault = TGs1Fault::None;
    auto note = [&fault](TGs1Fault found) {
        if (fault == TGs1Fault::None) fault = found;
    };
    for (int i = 0; i < identifier.PartCount; ++i) {
        const TGs1Part& part = identifier.Parts[i];
        const std::size_t left = data.size() - at;
        if (left < part.Min) return TGs1Fault::TooShort;
        const std::string_view value = data.substr(at, std::min<std::size_t>(left, part.Max));
        at += value.size();
        for (const char c : value)
            if (!inSet(part.Set, c)) note(TGs1Fault::BadCharacter);
        if (fault != TGs1Fault::None) continue;
        if (part.CheckDigit && !value.empty() &&
            Gs1CheckDigit(value.substr(0, value.size() - 1)) != value.back() - '0')
            note(TGs1Fault::WrongCheckDigit);
        if (!validDatePart(value, part.Date))
            note(part.Date == TGs1Date::HourMinute || part.Date == TGs1Date::FullDate ||
                         part.Date == TGs1Date::DateHour
                     ? TGs1Fault::BadDateOrTime
                     : TGs1Fault::BadDate);
    }
    if (at < data.size()) return TGs1Fault::TooLong;
    if (data.empty()) return TGs1Fault::TooShort;
    return fault;
}

} // namespace

TGs1Parse ParseGs1(std::string_view text) {
    TGs1Parse parse;
    std::size_t p = 0;
    const auto skipLineEnds = [&] {
        while (p < text.size() && (text[p] == '\r' || text[p] == '\n'))
            ++p;
    };
    skipLineEnds();
    if (identifierAt(text, p) == 0) {
        parse.Fault = TGs1Fault::NoIdentifier;
        parse.Faulty = std::string(text.substr(0, 20));
        return parse;
    }
    while (p < text.size()) {
        const std::size_t head = identifierAt(text, p);
        TGs1Element element;
        element.Ai = std::string(text.substr(p + 1, head - 2));
        p += head;
        while (p < text.size() && identifierAt(text, p) == 0 && text[p] != '\r' && text[p] != '\n')
            element.Data += text[p++];
        skipLineEnds();
        if (p < text.size() && identifierAt(text, p) == 0) {
            // Something after a line end that is no element.
            parse.Fault = TGs1Fault::NoIdentifier;
            parse.Faulty = std::string(text.substr(p, 20));
            return parse;
        }
        const TGs1Identifier* identifier = FindGs1Identifier(element.Ai);
        const TGs1Fault fault =
            identifier == nullptr ? TGs1Fault::UnknownAi : checkElement(*identifier, element.Data);
        if (fault != TGs1Fault::None) {
            parse.Fault = fault;
            parse.Faulty = Gs1HumanReadable({element});
            return parse;
        }
        parse.Elements.push_back(std::move(element));
    }
    return parse;
}

std::string Gs1HumanReadable(const std::vector<TGs1Element>& elements) {
    std::string text;
    for (const TGs1Element& element : elements)
        text += "(" + element.Ai + ")" + element.Data;
    return text;
}

} // namespace korvex::content

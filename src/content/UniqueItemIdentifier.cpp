#include "content/UniqueItemIdentifier.h"

#include <algorithm>
#include <optional>

namespace korvex::content {

namespace {

struct TEnterprise {
    std::string_view Di;
    std::string_view AgencyCode; // empty: the data carries it
};

constexpr TEnterprise ENTERPRISES[] = {
    {"17V", "D"}, {"12V", "UN"}, {"7L", "LD"}, {"3V", ""}, {"18V", ""}};

bool uiiCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '/';
}

std::optional<std::string> valueOf(const std::vector<std::string>& elements, std::string_view di) {
    for (const std::string& element : elements)
        if (DataIdentifier(element) == di) return element.substr(di.size());
    return std::nullopt;
}

} // namespace

std::string_view DataIdentifier(std::string_view element) {
    std::size_t p = 0;
    while (p < element.size() && p < 3 && element[p] >= '0' && element[p] <= '9')
        ++p;
    if (p >= element.size() || element[p] < 'A' || element[p] > 'Z') return {};
    return element.substr(0, p + 1);
}

TUii BuildUii(const std::vector<std::string>& elements) {
    TUii uii;
    int constructs = 0;
    const auto complete = valueOf(elements, "25S");
    const auto cageSerial = valueOf(elements, "18S");
    constructs += complete.has_value() + cageSerial.has_value();
    const TEnterprise* enterprise = nullptr;
    std::string enterpriseValue;
    for (const TEnterprise& candidate : ENTERPRISES)
        if (const auto value = valueOf(elements, candidate.Di)) {
            ++constructs;
            enterprise = &candidate;
            enterpriseValue = *value;
        }
    if (constructs == 0) {
        uii.Fault = TUiiFault::NoConstruct;
        return uii;
    }
    if (constructs > 1) {
        uii.Fault = TUiiFault::TwoConstructs;
        return uii;
    }
    if (complete) {
        uii.Value = *complete;
    } else if (cageSerial) {
        uii.Value = "D" + *cageSerial;
    } else {
        // The original part number is never changed; a lot or batch stands in for it.
        auto part = valueOf(elements, "1P");
        if (!part) part = valueOf(elements, "1T");
        const auto serial = valueOf(elements, "S");
        if (!part) uii.Fault = TUiiFault::NoPartOrLot;
        if (!serial || serial->empty()) uii.Fault = TUiiFault::NoSerial;
        if (!uii.Ok()) return uii;
        uii.Value = std::string(enterprise->AgencyCode) + enterpriseValue + *part + *serial;
    }
    if (!std::all_of(uii.Value.begin(), uii.Value.end(), uiiCharacter))
        uii.Fault = TUiiFault::BadCharacter;
    else if (uii.Value.size() > 50)
        uii.Fault = TUiiFault::TooLong;
    return uii;
}

} // namespace korvex::content

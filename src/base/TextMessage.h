#pragma once

#include <string>
#include <vector>

namespace korvex::base {

// A message for the user as the core hands it up: language text numbers and their detail,
// turned into words only where the language is known (the window's message box, korvex-cli).
// Shown as text Text with its "%1" ... filled from Values, then ": " and the detail when
// there is one: text DetailText if it is set, else Detail. With Text 0 the Detail alone is the
// message (a system message such as "Vorlage [...] existiert nicht!").
struct TTextMessage {
    TTextMessage() = default;
    TTextMessage(int text, int detailText = 0, std::string detail = {},
                 std::vector<std::string> values = {})
        : Text(text), DetailText(detailText), Detail(std::move(detail)), Values(std::move(values)) {
    }

    int Text = 0;
    int DetailText = 0;
    std::string Detail;              // Windows-1252
    std::vector<std::string> Values; // Windows-1252, for "%1", "%2" ... of text Text

    bool Empty() const { return Text == 0 && DetailText == 0 && Detail.empty() && Values.empty(); }
    bool operator==(const TTextMessage&) const = default;
};

} // namespace korvex::base

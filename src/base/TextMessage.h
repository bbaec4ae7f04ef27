#pragma once

#include <string>

namespace korvex::base {

// A message for the user as the core hands it up: language text numbers and their detail,
// turned into words only where the language is known (the window's message box, korvex-cli).
// Shown as text Text, then ": " and the detail when there is one: text DetailText if it is
// set, else Detail. With Text 0 the Detail alone is the message (a system message such as
// "Vorlage [...] existiert nicht!").
struct TTextMessage {
    int Text = 0;
    int DetailText = 0;
    std::string Detail; // Windows-1252

    bool Empty() const { return Text == 0 && DetailText == 0 && Detail.empty(); }
    bool operator==(const TTextMessage&) const = default;
};

} // namespace korvex::base

#pragma once

#include <QStringList>

#include <filesystem>

namespace korvex::app {

// Where the program finds its files and what it was started with.
struct TStartOptions {
    std::filesystem::path DataFolder;   // language texts, delivered settings, help pages
    std::filesystem::path ConfigFolder; // main.ini and profil1-4.ini; created when missing
    QStringList Arguments;              // the command line without the program name
    bool Headless = false;              // no display: nobody can answer a box
    bool ShowIntro = true;              // the picture at an interactive start
};

} // namespace korvex::app

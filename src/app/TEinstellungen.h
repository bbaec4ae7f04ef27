#pragma once

#include "config/Settings.h"
#include "ncgen/OutputProfile.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <filesystem>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;

namespace korvex::app {

class ColourSwatch;
class Messages;
class ToolSketch;

// The settings dialog. Its controls are the working copy of main.ini: they keep their edits
// between openings, and profile pages go into the profile table in memory when the user
// switches pages. Only "&Speichern" writes the files.
class TEinstellungen : public QDialog {
    Q_OBJECT
  public:
    TEinstellungen(config::TSettings& settings, ncgen::TProfileTable& profiles,
                   std::filesystem::path configFolder, const Messages& messages,
                   QWidget* parent = nullptr);

    // Puts the program-wide settings into the "Programm" page, as a load does.
    void Fill();

    int CurrentProfilePage() const { return page_; }

    // Commands, as the buttons run them.
    void PageClick(int page); // 0 "Programm", 1-4 the profiles
    void SpeichernClick();
    void AbbrechenClick();
    void LanguageClick(int language);

    // The dialog's texts beyond the caption table, in the loaded language.
    void ApplyTexts();

  signals:
    // The files were written and loaded again: the main window applies them.
    void Saved();
    // A language button set the language number; it takes effect at once.
    void LanguageChosen();
    void HelpWanted();

  protected:
    void showEvent(QShowEvent* event) override;

  public slots:
    // Escape and the window system's close act as "&Abbrechen".
    void reject() override;

  private:
    QWidget* buildProgramPage();
    QWidget* buildProfilePage();
    void fillProfilePage(int number);
    void takeOverProfilePage(int number);
    QWidget* buildToolGroup(QWidget* page);
    ncgen::TToolTexts toolTexts(const ncgen::TToolTexts& before) const;
    void showToolSketch();
    void applyToolCaptions();
    void settingsFromControls(config::TSettings& settings) const;
    void chooseFolder(QLineEdit* field);
    void chooseColour(ColourSwatch* swatch);
    void checkStart();
    bool refuseUncodedText();

    config::TSettings& settings_;
    ncgen::TProfileTable& profiles_;
    std::filesystem::path configFolder_;
    const Messages& messages_;
    int page_ = 0;
    QColor lastColour_ = Qt::black;

    QStackedWidget* pages_ = nullptr;
    QButtonGroup* pageButtons_ = nullptr;

    QLineEdit* eZieldir_ = nullptr;
    QLineEdit* eVorlagenDir_ = nullptr;
    QLineEdit* eFontDir_ = nullptr;
    QComboBox* eSymbox_ = nullptr;
    QComboBox* eCodeBox_ = nullptr;
    QLineEdit* eAufloesung_ = nullptr;
    QButtonGroup* standard_ = nullptr;
    QButtonGroup* views_ = nullptr;
    QCheckBox* axisButt_ = nullptr;
    QCheckBox* g0Butt_ = nullptr;
    ColourSwatch* eHintergrund_ = nullptr;
    ColourSwatch* eAchsen_ = nullptr;
    ColourSwatch* eVorschub_ = nullptr;
    ColourSwatch* eAVorschub_ = nullptr;
    ColourSwatch* eEilgang_ = nullptr;
    ColourSwatch* eRohteil_ = nullptr;

    QLineEdit* eProfil_ = nullptr;
    QLineEdit* eStellen_ = nullptr;
    QLineEdit* eNachkomma_ = nullptr;
    QCheckBox* eDeziPunkt_ = nullptr;
    QCheckBox* eNCPunkt_ = nullptr;
    QCheckBox* eVNullen_ = nullptr;
    QCheckBox* eNNullen_ = nullptr;
    QCheckBox* eVorzeichen_ = nullptr;
    QCheckBox* eSatznum_ = nullptr;
    QLineEdit* eSatzzeichen_ = nullptr;
    QLineEdit* eSatzschritt_ = nullptr;
    QLineEdit* eStart_ = nullptr;
    QLineEdit* eRebene_ = nullptr;
    QLineEdit* eZebene_ = nullptr;
    QLineEdit* eVorschubZ_ = nullptr;
    QLineEdit* eSuffix_ = nullptr;
    std::array<QLineEdit*, 6> eAxes_{}; // EEX, EEY, EEZ, EEI, EEJ, EER
    QPlainTextEdit* eSyntaxS_ = nullptr;
    QPlainTextEdit* eSyntax_ = nullptr;
    QPlainTextEdit* eSyntaxE_ = nullptr;
    QButtonGroup* wzTyp_ = nullptr; // 0 none, 1 cone, 2 ball, as "WzTyp"
    QLineEdit* eWzWinkel_ = nullptr;
    QLineEdit* eWzSpitze_ = nullptr;
    QLineEdit* eWzRadius_ = nullptr;
    ToolSketch* wzSkizze_ = nullptr;
};

} // namespace korvex::app

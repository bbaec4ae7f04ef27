#pragma once

#include "config/Settings.h"
#include "ncgen/OutputProfile.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <filesystem>
#include <memory>

class QButtonGroup;
class QLineEdit;

namespace Ui {
class TEinstellungen;
}

namespace korvex::app {

class ColourSwatch;
class LogServerCheck;
class ShiftTableBox;
class Messages;

// The settings dialog. Its controls are the working copy of main.ini: they keep their edits
// between openings, and profile pages go into the profile table in memory when the user
// switches pages. Only "&Speichern" writes the files.
class TEinstellungen : public QDialog {
    Q_OBJECT
  public:
    TEinstellungen(config::TSettings& settings, ncgen::TProfileTable& profiles,
                   std::filesystem::path configFolder, const Messages& messages,
                   QWidget* parent = nullptr);
    ~TEinstellungen() override;

    // Puts the program-wide settings into the "Programm" page, as a load does.
    void Fill();

    int CurrentProfilePage() const { return page_; }
    LogServerCheck& ServerCheck() const { return *serverCheck_; }

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
    void connectControls();
    void scrollPages();
    void fillProfilePage(int number);
    void takeOverProfilePage(int number);
    ncgen::TToolTexts toolTexts(const ncgen::TToolTexts& before) const;
    void showToolSketch();
    void applyToolCaptions();
    void settingsFromControls(config::TSettings& settings) const;
    void chooseFolder(QLineEdit* field);
    void chooseColour(ColourSwatch* swatch);
    void checkStart();
    bool refuseUncodedText();
    std::array<QLineEdit*, 6> axisFields() const; // EEX, EEY, EEZ, EEI, EEJ, EER
    std::array<ColourSwatch*, 6> swatches() const;

    config::TSettings& settings_;
    ncgen::TProfileTable& profiles_;
    std::filesystem::path configFolder_;
    const Messages& messages_;
    int page_ = 0;
    QColor lastColour_ = Qt::black;

    std::unique_ptr<::Ui::TEinstellungen> ui_;
    QButtonGroup* pageButtons_ = nullptr;
    QButtonGroup* standard_ = nullptr;
    QButtonGroup* views_ = nullptr;
    QButtonGroup* wzTyp_ = nullptr; // 0 none, 1 cone, 2 ball, as "WzTyp"
    LogServerCheck* serverCheck_ = nullptr;
    // The fields of the step rows.
    QLineEdit* eAufloesung_ = nullptr;
    QLineEdit* eStellen_ = nullptr;
    QLineEdit* eNachkomma_ = nullptr;
    QLineEdit* eSatzschritt_ = nullptr;
    QLineEdit* eRebene_ = nullptr;
    QLineEdit* eZebene_ = nullptr;
    ShiftTableBox* shifts_ = nullptr;
};

} // namespace korvex::app

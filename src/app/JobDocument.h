#pragma once

#include "job/Job.h"
#include "ncgen/NCJob.h"
#include "ncgen/ProfileSelection.h"
#include "ncgen/SymbolChoice.h"

#include <QObject>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvex::config {
class TLanguageTexts;
}

namespace korvex::app {

// The window's job: its layers and blank, the symbol of the layer shown and the active profile,
// loaded, saved and generated through the job layer that korvex-cli and the batch use. The
// window's areas show it and tell it what the user changed.
class JobDocument : public QObject {
    Q_OBJECT
  public:
    explicit JobDocument(const config::TLanguageTexts& texts, QObject* parent = nullptr);

    ncgen::TJob& Job() { return job_; }
    const ncgen::TJob& Job() const { return job_; }
    // The size and encodation of the layer the window shows.
    const ncgen::TSymbolChoice& Symbol() const { return symbol_; }
    void SetSymbol(ncgen::TSymbolChoice symbol);

    // The active profile as the window uses it: its feed follows the profile panel, its tool
    // the calibration coupon.
    ncgen::TActiveProfile& Profile() { return profile_.Profile; }
    const ncgen::TActiveProfile& Profile() const { return profile_.Profile; }
    const std::string& ProfileName() const { return profile_.Name; }
    int ProfileNumber() const { return profile_.Number; }
    // False when no profile has that number or name; the active one stays.
    bool SelectProfile(const ncgen::TProfileTable& profiles, const std::string& choice);

    // A fresh job of one default layer with the symbol shown.
    void New();
    // The template replaces the job only when it loads; the reader's repairs go to `warnings`.
    job::TOutcome Load(const std::filesystem::path& file,
                       std::vector<base::TTextMessage>& warnings);
    job::TOutcome Save(const std::filesystem::path& file) const;
    job::TOutcome Generate(const ncgen::TGenerateFields& fields,
                           const std::optional<job::TNotesWanted>& notes, job::TProgram& program);

    // The simulation lines of the program the editor shows: the job's, or the calibration
    // coupon's.
    const std::vector<std::string>& SimulationLines() const { return simulationLines_; }
    void SetSimulationLines(std::vector<std::string> lines) { simulationLines_ = std::move(lines); }

  signals:
    void SymbolChanged();

  private:
    const config::TLanguageTexts& texts_;
    ncgen::TJob job_;
    ncgen::TSymbolChoice symbol_;
    ncgen::TProfileSelection profile_{1, {}, {}, {}};
    std::vector<std::string> simulationLines_;
};

} // namespace korvex::app

#include "app/JobDocument.h"

#include "base/TextNumbers.h"
#include "config/LanguageTexts.h"

namespace korvex::app {

JobDocument::JobDocument(const config::TLanguageTexts& texts, QObject* parent)
    : QObject(parent), texts_(texts) {}

void JobDocument::SetSymbol(ncgen::TSymbolChoice symbol) {
    symbol_ = ncgen::ChooseSymbol(symbol.Size, symbol.Encodation, symbol.Dmre);
    emit SymbolChanged();
}

bool JobDocument::SelectProfile(const ncgen::TProfileTable& profiles, const std::string& choice) {
    auto selection = ncgen::SelectProfile(profiles, choice);
    if (!selection) return false;
    profile_ = std::move(*selection);
    return true;
}

void JobDocument::New() {
    ncgen::NewJob(job_, texts_.Text(text::DefaultLayerName), symbol_.Size, symbol_.Encodation);
    job_.BlankDefinition.clear();
}

job::TOutcome JobDocument::Load(const std::filesystem::path& file,
                                std::vector<base::TTextMessage>& warnings) {
    ncgen::TJob loaded = job_;
    ncgen::TLoadReport report;
    const ncgen::TLoadOptions options{symbol_.Size, symbol_.Encodation,
                                      texts_.Text(text::DefaultLayerName)};
    job::TOutcome outcome = job::LoadTemplate(file, options, loaded, report, warnings);
    if (outcome.Ok()) job_ = std::move(loaded);
    return outcome;
}

job::TOutcome JobDocument::Save(const std::filesystem::path& file) const {
    return job::SaveJob(job_, file);
}

job::TOutcome JobDocument::Generate(const ncgen::TGenerateFields& fields,
                                    const std::optional<job::TNotesWanted>& notes,
                                    job::TProgram& program) {
    return job::GenerateProgram(job_, fields, profile_.Profile, profile_.Name, notes, program);
}

} // namespace korvex::app

#include "app/NotesStatus.h"

#include "app/AppTexts.h"
#include "app/GenerateController.h"
#include "app/Messages.h"
#include "app/ProgramNotesText.h"
#include "base/TextNumbers.h"

#include <QLabel>
#include <QStatusBar>

namespace korvex::app {

NotesStatus::NotesStatus(QStatusBar& bar, const Messages& messages) : messages_(messages) {
    markingStats_ = new QLabel(&bar);
    markingStats_->setObjectName(QStringLiteral("MarkingStats"));
    // A narrow window clips the figures (the tooltip keeps them) instead of growing.
    markingStats_->setMinimumWidth(40);
    bar.addPermanentWidget(markingStats_);
    readBackMark_ = new QLabel(&bar);
    readBackMark_->setObjectName(QStringLiteral("ReadBackMark"));
    readBackMark_->setTextFormat(Qt::RichText);
    bar.addPermanentWidget(readBackMark_);
}

void NotesStatus::FitWindowWidth(int width) {
    markingStats_->setMaximumWidth(qMax(40, width * 11 / 20));
}

void NotesStatus::Show(const GenerateController& generator, const std::string& feed) {
    const readback::TProgramNotes& notes = generator.Notes();
    QString stats;
    const auto add = [&stats](const QString& part) {
        if (!part.isEmpty()) stats += (stats.isEmpty() ? QString() : QStringLiteral("; ")) + part;
    };
    // First, where a narrow window does not clip them; korvex-cli prints them as warnings too.
    for (const base::TTextMessage& warning : generator.ContentWarnings())
        add(messages_.Text(text::WarningText).arg(messages_.Text(warning)));
    if (notes.Stats) add(MarkingStatsText(*notes.Stats, feed, messages_));
    add(DotNotesText(notes, messages_));
    markingStats_->setText(stats);
    markingStats_->setToolTip(stats);
    showReadBack(generator);
}

void NotesStatus::showReadBack(const GenerateController& generator) {
    const readback::TProgramNotes& notes = generator.Notes();
    if (generator.ReadBackPending() && generator.NotesCurrent()) {
        readBackMark_->setText(QStringLiteral("<span style=\"color:#808080\">\u25CB</span>"));
        readBackMark_->setToolTip(messages_.Text(ReadBackRunningText));
        return;
    }
    if (!notes.Check) {
        readBackMark_->clear();
        readBackMark_->setToolTip(QString());
        return;
    }
    if (!generator.NotesCurrent()) {
        readBackMark_->setText(QStringLiteral("<span style=\"color:#808080\">\u25CF</span>"));
        readBackMark_->setToolTip(messages_.Text(ReadBackStaleText));
        return;
    }
    const ReadBackMarkText mark = ReadBackMarkFor(*notes.Check, messages_);
    readBackMark_->setText(QStringLiteral("<span style=\"color:%1\">\u25CF</span> %2")
                               .arg(mark.Colour.name(), mark.Label.toHtmlEscaped()));
    const bool lineBreak = notes.EndsWithLineBreak;
    readBackMark_->setToolTip(
        mark.ToolTip +
        (lineBreak ? QStringLiteral("\n") + messages_.Text(EndsWithLineBreakText) : QString()));
}

} // namespace korvex::app

#include "app/NotesStatus.h"

#include "app/AppTexts.h"
#include "app/GenerateController.h"
#include "app/Messages.h"
#include "app/ProgramNotesText.h"
#include "base/TextNumbers.h"

#include <QFontMetrics>
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
    markingStats_->setMaximumWidth(qMax(40, width * 3 / 4));
    breakStats();
}

void NotesStatus::breakStats() {
    constexpr int MostLines = 3;
    const QFontMetrics metrics = markingStats_->fontMetrics();
    const int room = markingStats_->maximumWidth() - 2 * markingStats_->margin() - 4;
    const QString separator = QStringLiteral("; ");
    QStringList lines;
    // The dots' notes hold several parts of their own.
    for (const QString& part : statsParts_.join(separator).split(separator)) {
        if (!lines.isEmpty() &&
            (lines.size() == MostLines ||
             metrics.horizontalAdvance(lines.back() + separator + part) <= room))
            lines.back() += separator + part;
        else
            lines << part;
    }
    markingStats_->setText(lines.join(QLatin1Char('\n')));
}

void NotesStatus::Show(const GenerateController& generator, const std::string& feed) {
    const readback::TProgramNotes& notes = generator.Notes();
    statsParts_.clear();
    const auto add = [this](const QString& part) {
        if (!part.isEmpty()) statsParts_ << part;
    };
    // First, where a narrow window does not clip them; korvex-cli prints them as warnings too.
    for (const base::TTextMessage& warning : generator.ContentWarnings())
        add(messages_.Text(text::WarningText).arg(messages_.Text(warning)));
    if (notes.Stats) add(MarkingStatsText(*notes.Stats, feed, messages_));
    add(DotNotesText(notes, messages_));
    markingStats_->setToolTip(statsParts_.join(QStringLiteral("; ")));
    breakStats();
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

#include "app/BatchRun.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/CommandLine.h"
#include "app/GenerateController.h"
#include "app/IntroWindow.h"
#include "app/JobPanel.h"
#include "app/Messages.h"
#include "app/NCEditor.h"
#include "app/ProgramLog.h"
#include "app/AppPlatform.h"
#include "app/MainCommands.h"
#include "app/StartOptions.h"
#include "config/ConfigError.h"
#include "job/Job.h"

#include <QApplication>
#include <QFileInfo>

#include <string>
#include <vector>

namespace korvex::app {

BatchRun::BatchRun(MainCommands& form, IntroWindow& intro, const TStartOptions& options,
                   Messages& messages)
    : form_(form), intro_(intro), options_(options), messages_(messages) {}

void BatchRun::start(const QString& output) {
    active_ = true;
    output_ = output;
    messages_.SetBatchMode(true);
}

void BatchRun::Run() {
    active_ = false;
    if (options_.Arguments.isEmpty()) return;
    std::vector<std::string> arguments;
    for (const QString& argument : options_.Arguments)
        arguments.push_back(argument.toStdString());
    const TCommandLine line = ParseCommandLine(arguments);
    const QString templateFile = QString::fromStdString(line.Template);
    const QString output = QString::fromStdString(line.Output);
    switch (line.Kind) {
    case TCommandLine::Form::None:
        return;
    case TCommandLine::Form::BatchNoOutput:
        if (options_.Headless)
            FailBatch(QStringLiteral("korvex: /V without /D: no output file was named"));
        return;
    case TCommandLine::Form::Batch: {
        // Asked for unattended: nobody is there to answer a box, on a display or not.
        if (output.isEmpty()) {
            FailBatch(messages_.Text(NoOutputAfterDText));
            return;
        }
        // An empty name is a template that does not exist.
        const QFileInfo info(templateFile);
        if (templateFile.isEmpty() || !info.isFile()) {
            const QString message = FromCodePage(job::TemplateMissingText(ToPath(templateFile)));
            if (options_.Headless)
                FailBatch(message);
            else
                messages_.ShowText(message);
            return;
        }
        start(output);
        if (!form_.LadeVorlage(templateFile)) return;
        form_.Generator().ConvertClick();
        return;
    }
    case TCommandLine::Form::Open:
        // A program of a job that did not load would mark what nobody asked for.
        if (!form_.LadeVorlage(templateFile) && line.HasOutput) return;
        if (line.ClearText) form_.Panel().ClearText();
        if (line.HasOutput) {
            start(output);
            form_.Generator().ConvertClick();
        } else if (options_.Headless) {
            FailBatch(QStringLiteral("korvex: no display; name an output file to run unattended"));
        }
        return;
    }
}

void BatchRun::Starting() {
    // Without a display nobody sees the picture, so the batch does not wait for it.
    if (active_ && !options_.Headless) {
        form_.showMinimized();
        intro_.Start(&form_, 1000);
    }
}

void BatchRun::IntroElapsed() {
    if (active_ && !form_.Editor().document()->isEmpty())
        Finish();
    else
        intro_.close();
}

void BatchRun::Finish() {
    if (written_) return;
    written_ = true;
    std::string bytes;
    QString offending;
    if (!form_.Editor().FileBytes(bytes, &offending)) {
        FailBatch(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") + offending);
        return;
    }
    // The log says why it refused (a logged content, a log that cannot be used).
    if (!form_.MarkingLog().Write(&form_, ToPath(output_), bytes, form_.ProgramRecord())) {
        if (Messages::BatchFailures() == 0)
            FailBatch(FromCodePage(config::CannotCreateText(ToPath(output_))));
        return;
    }
    intro_.close();
    form_.close();
    // Also when the generation ran inside the start-up, before the event loop.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(Messages::BatchFailures() > 0 ? 1 : 0); },
        Qt::QueuedConnection);
}

} // namespace korvex::app

#include "ncgen/SerialRun.h"

#include "base/AtomicFile.h"
#include "base/EKorvexError.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <set>

namespace korvex::ncgen {

namespace fs = std::filesystem;

namespace {

std::string encodationName(const TLayerFields& layer) {
    const auto encoding = static_cast<datamatrix::TEncoding>(layer.CurrentEncodation);
    return encoding <= datamatrix::E_AUTO ? std::string(datamatrix::EncodingName(encoding)) : "";
}

std::string padded(std::int64_t value, std::string_view format) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    const std::string sign = value < 0 ? "-" : "";
    const bool zeros = format.starts_with('0');
    std::size_t width = 0;
    std::from_chars(format.data(), format.data() + format.size(), width);
    width = std::min<std::size_t>(width, 64);
    if (zeros) {
        while (sign.size() + digits.size() < width)
            digits.insert(digits.begin(), '0');
        return sign + digits;
    }
    std::string text = sign + digits;
    while (text.size() < width)
        text.insert(text.begin(), ' ');
    return text;
}

bool isWidth(std::string_view format) {
    if (format.empty() || format.size() > 3) return false;
    for (const char c : format)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

std::string ExpandPattern(std::string_view written, const TPatternValues& values) {
    static const std::vector<TShift> noShifts;
    const std::string dated =
        values.Now
            ? ExpandDateCodes(written, *values.Now, values.Shifts ? *values.Shifts : noShifts)
            : std::string(written);
    const std::string_view pattern = dated;
    std::string out;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t open = pattern.find('{', at);
        const std::size_t close = open == pattern.npos ? open : pattern.find('}', open);
        if (close == pattern.npos) break;
        out.append(pattern.substr(at, open - at));
        const std::string_view inner = pattern.substr(open + 1, close - open - 1);
        const std::string_view name = inner.substr(0, inner.find(':'));
        const std::string_view format =
            name.size() < inner.size() ? inner.substr(name.size() + 1) : std::string_view();
        const bool plain = name.size() == inner.size();
        if ((name == "n" || name == "i") && (plain || isWidth(format)))
            out += padded(name == "n" ? values.N : values.I, format);
        else if (inner == "line")
            out.append(values.Line);
        else
            out.append(pattern.substr(open, close - open + 1));
        at = close + 1;
    }
    out.append(pattern.substr(std::min(at, pattern.size())));
    return out;
}

std::optional<TSerialRange> ReadSerialRange(std::string_view text) {
    TSerialRange range;
    const std::size_t first = text.find(':');
    const auto start = wholeNumber(text.substr(0, first));
    if (!start) return std::nullopt;
    range.Start = *start;
    if (first != text.npos) {
        const std::string_view rest = text.substr(first + 1);
        const std::size_t second = rest.find(':');
        const auto count = wholeNumber(rest.substr(0, second));
        if (!count || *count < 1) return std::nullopt;
        range.Count = *count;
        if (second != rest.npos) {
            const auto step = wholeNumber(rest.substr(second + 1));
            if (!step || *step == 0) return std::nullopt;
            range.Step = *step;
        }
    }
    // A slip of the finger must not ask for billions of files or numbers past 64 bits.
    if (range.Count > MaxSerialCount) return std::nullopt;
    const std::int64_t steps = range.Count - 1;
    if (steps > 0) {
        if (range.Step == INT64_MIN || std::abs(range.Step) > INT64_MAX / steps)
            return std::nullopt;
        const std::int64_t span = steps * range.Step;
        if (span > 0 ? range.Start > INT64_MAX - span : range.Start < INT64_MIN - span)
            return std::nullopt;
    }
    return range;
}

base::TTextMessage CheckCounterRange(const TSerialRange& range) {
    if (range.Step < 1) return {text::CounterStepNotPositive, 0, {}};
    std::int64_t span = 0;
    std::int64_t next = 0;
    if (__builtin_mul_overflow(range.Count, range.Step, &span) ||
        __builtin_add_overflow(range.Start, span, &next))
        return {
            text::CounterWouldOverflow,
            0,
            {},
            {std::to_string(range.Start), std::to_string(range.Count), std::to_string(range.Step)}};
    return {};
}

TRunOutcome RunPrograms(const std::vector<TRunItem>& items,
                        const std::function<TRunProgram(const TRunItem&)>& make,
                        const std::function<bool(const TRunStep&)>& progress, TProgramSink* sink) {
    TRunOutcome outcome;
    // A pattern without a number would write every program over the one before.
    std::set<fs::path> names;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!names.insert(items[i].Output.lexically_normal()).second) {
            outcome.Stop = TRunStop::DuplicateOutput;
            outcome.FailedItem = i;
            return outcome;
        }
    const std::size_t batch = sink ? std::max<std::size_t>(sink->Batch(), 1) : 1;
    bool cancelled = false;
    for (std::size_t start = 0; start < items.size() && !cancelled;) {
        std::vector<const TRunItem*> made;
        std::vector<TRunProgram> programs;
        while (made.size() < batch && start + made.size() < items.size()) {
            made.push_back(&items[start + made.size()]);
            programs.push_back(make(*made.back()));
            if (!programs.back().Ok || programs.back().StopAfterWriting) break;
        }
        std::vector<const TRunProgram*> ready;
        for (std::size_t k = 0; k < made.size() && programs[k].Ok; ++k) {
            std::error_code ec;
            const fs::path folder = made[k]->Output.parent_path();
            if (!folder.empty()) fs::create_directories(folder, ec);
            ready.push_back(&programs[k]);
        }
        TProgramSink::TWritten written;
        if (sink) {
            if (!ready.empty())
                written = sink->Write(start, {made.begin(), made.begin() + ready.size()}, ready);
        } else {
            while (
                written.Count < ready.size() &&
                base::WriteFileAtomically(made[written.Count]->Output, ready[written.Count]->Bytes))
                ++written.Count;
        }
        for (std::size_t k = 0; k < made.size(); ++k) {
            const std::size_t i = start + k;
            const TRunItem& item = *made[k];
            const TRunProgram& program = programs[k];
            const bool done = k < written.Count;
            if (done) ++outcome.Written;
            const bool goOn = progress({i, items.size(), item, program, done});
            const bool last = i + 1 == items.size();
            if (!program.Ok || !done || program.StopAfterWriting) {
                outcome.FailedItem = i;
                outcome.Stop = !program.Ok                ? TRunStop::Generation
                               : !written.Failure.Empty() ? TRunStop::Sink
                               : !done                    ? TRunStop::Write
                                                          : TRunStop::Refused;
                outcome.Message = program.Message;
                outcome.Refusal = program.Ok ? written.Failure : program.Refusal;
                return outcome;
            }
            if (!goOn && !last && !cancelled) {
                cancelled = true;
                outcome.FailedItem = i;
                outcome.Stop = TRunStop::Cancelled;
            }
        }
        // Every file of the batch is in place but the sink could not finish: the run ends.
        if (!written.Failure.Empty() && outcome.Stop == TRunStop::None) {
            outcome.FailedItem = start + made.size() - 1;
            outcome.Stop = TRunStop::Sink;
            outcome.Refusal = written.Failure;
            return outcome;
        }
        start += made.size();
    }
    return outcome;
}

TRunOutcome
RunSerial(TLayerTable& layers, TGenerateFields fields, const TActiveProfile& profile,
          std::string_view profileName, const std::vector<TRunItem>& items,
          const std::function<void(const TGenerateCommandResult&, TRunProgram&)>& inspect,
          const std::function<bool(const TRunStep&)>& progress, TProgramSink* sink) {
    const std::string hrtPattern = fields.Layer.Hrt.Text;
    const auto make = [&](const TRunItem& item) {
        TRunProgram program;
        fields.Layer.EText = base::SplitLines(item.Text);
        // The dot line's {n} and {i} are the item's; {line} and the date codes stay for it.
        if (item.I > 0 && !hrtPattern.empty())
            fields.Layer.Hrt.Text =
                ExpandPattern(hrtPattern, {item.N, item.I, "{line}", std::nullopt, nullptr});
        try {
            const TGenerateCommandResult generated =
                GenerateCommand(layers, fields, profile, profileName);
            switch (generated.Outcome) {
            case TGenerateOutcome::NoText:
                program.Message = "the text is empty";
                return program;
            case TGenerateOutcome::Refused:
                program.Refusal = generated.Message;
                return program;
            case TGenerateOutcome::Generated:
                break;
            }
            program.Bytes = base::JoinLines(generated.NCLines);
            program.Ok = true;
            program.SymbolSize = datamatrix::FormatName(generated.CalculatedFormat);
            program.Encodation = encodationName(fields.Layer);
            if (inspect) inspect(generated, program);
        } catch (const EKorvexError& e) {
            program.Ok = false;
            program.Message = e.what();
        }
        return program;
    };
    return RunPrograms(items, make, progress, sink);
}

} // namespace korvex::ncgen

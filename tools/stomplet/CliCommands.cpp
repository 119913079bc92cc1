#include "CliCommands.h"

#include "CliFormat.h"
#include "core/AtomicFile.h"
#include "core/BoundedFileRead.h"
#include "device/DeviceStatus.h"
#include "device/FirmwareTransfer.h"
#include "device/FormatText.h"
#include "device/SettingsExchange.h"
#include "device/SysExMessages.h"

#include <thread>

namespace
{
using Clock = BoxLink::Clock;
using std::chrono::milliseconds;

void Error(const CommandOutput& output, const std::string& line)
{
    std::fprintf(output.err, "stomplet: %s\n", line.c_str());
    std::fflush(output.err);
}

void Print(const CommandOutput& output, const std::string& text)
{
    std::fputs(text.c_str(), output.out);
    std::fflush(output.out);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The box's Status Reply, or status 1 after a line saying that it did not come.
std::optional<StatusReply> AskStatus(BoxLink& link, const CliOptions& options,
                                     const CommandOutput& output)
{
    link.Discard();
    std::optional<StatusReply> reply = link.RequestStatus(milliseconds(options.timeoutMs));
    if (!reply)
        Error(output, "no answer from the box on " + Quoted(link.OutputName()) + " within " +
                          std::to_string(options.timeoutMs) + " ms");
    return reply;
}

PresetValues ValuesOf(const StatusReply& reply)
{
    PresetValues values{};
    std::copy(reply.values.begin(), reply.values.end(), values.begin());
    return values;
}

// The status lines in the editor's order: DEVICE, STATE, VERSION (a rejected version: its
// message instead of the state, after the version).
int Status(BoxLink& link, const CliOptions& options, const CommandOutput& output)
{
    const std::string demo =
        options.demo ? "DEMO: the built-in virtual box (--demo), not a real one\n" : "";
    const std::optional<StatusReply> reply = AskStatus(link, options, output);
    if (!reply)
    {
        Print(output, DeviceText(link.OutputName()) + "\nSTATE: no answer\n" + demo);
        return kExitNoAnswer;
    }
    const std::string device(kDeviceRepliedText);
    const std::string version = VersionText(reply->version);
    const VersionVerdict verdict = CheckFirmwareVersion(reply->version);
    if (verdict != VersionVerdict::kAccepted)
        Print(output, device + "\n" + version + "\n" + VersionMessage(verdict) + "\n" + demo);
    else
        Print(output, device + "\n" +
                          std::string(link.ConfirmInterfaceMode() ? kInterfaceModeText
                                                                  : kStandaloneModeText) +
                          "\n" + version + "\n" + demo);
    return kExitSuccess;
}

// Writes a file the command makes: to standard output for "-", else through the atomic writer.
int WriteOut(const std::string& file, std::string_view content, const CommandOutput& output)
{
    if (file == kStandardOutputName)
    {
        const bool written =
            std::fwrite(content.data(), 1, content.size(), output.out) == content.size() &&
            std::fflush(output.out) == 0;
        if (!written)
            return Error(output, "cannot write to standard output"), kExitBadInput;
        return kExitSuccess;
    }
    if (const std::optional<AtomicWriteError> error = WriteFileAtomically(file, content))
    {
        Error(output, error->Describe());
        return kExitBadInput;
    }
    return kExitSuccess;
}

int Load(const PreparedCommand& command, BoxLink& link, const CliOptions& options,
         const CommandOutput& output)
{
    const std::optional<AllSettingsMessage> message = BuildAllSettings(command.values);
    if (!message)
        return Error(output, command.file + ": the settings cannot be sent"), kExitBadInput;
    link.Send(*message);
    const std::optional<StatusReply> reply = AskStatus(link, options, output);
    if (!reply)
        return kExitNoAnswer;
    const std::vector<std::string> differences =
        SettingDifferences(command.values, ValuesOf(*reply));
    for (const std::string& line : differences)
        Error(output, line);
    if (!differences.empty())
        return kExitNoAnswer;
    Print(output, "loaded " + command.file + ": 38 settings sent, the box holds them\n");
    return kExitSuccess;
}

int Diff(const PreparedCommand& command, BoxLink& link, const CliOptions& options,
         const CommandOutput& output)
{
    const std::optional<StatusReply> reply = AskStatus(link, options, output);
    if (!reply)
        return kExitNoAnswer;
    const std::vector<std::string> lines = BoxFileDifferences(ValuesOf(*reply), command.values);
    for (const std::string& line : lines)
        Print(output, line + "\n");
    return lines.empty() ? kExitSuccess : kExitDiffers;
}

int Set(const PreparedCommand& command, BoxLink& link, const CliOptions& options,
        const CommandOutput& output)
{
    const std::optional<CommandMessage> message =
        BuildSingleSetting(command.paramIdx, command.value);
    if (!message)
        return kExitBadInput;
    link.Send(*message);
    const std::optional<StatusReply> reply = AskStatus(link, options, output);
    if (!reply)
        return kExitNoAnswer;
    const std::string name(kParamDefinitions[static_cast<std::size_t>(command.paramIdx)].name);
    const int held = reply->values[static_cast<std::size_t>(command.paramIdx)];
    if (held != command.value)
    {
        Error(output, name + ": sent " + std::to_string(command.value) + ", the box holds " +
                          std::to_string(held));
        return kExitNoAnswer;
    }
    Print(output, name + " = " + SettingText(command.paramIdx, held) + "\n");
    return kExitSuccess;
}

int Calibrate(const PreparedCommand& command, BoxLink& link, const CliOptions& options,
              const CommandOutput& output)
{
    const std::optional<CommandMessage> message = BuildCalibrationRequest(command.paramIdx);
    if (!message)
        return kExitBadInput;
    link.Send(*message);
    const std::optional<StatusReply> reply = AskStatus(link, options, output);
    if (!reply)
        return kExitNoAnswer;
    const std::uint8_t held = reply->values[static_cast<std::size_t>(command.paramIdx)];
    // "PEDAL2" and then the button's label: "PEDAL2 Calibration High End: 100.0%".
    const std::string_view name =
        kParamDefinitions[static_cast<std::size_t>(command.paramIdx)].name;
    Print(output, std::string(name.substr(0, name.find(' '))) + " " +
                      CalibrationLabel(command.paramIdx, held).value_or("") + "\n");
    return kExitSuccess;
}

int Firmware(const PreparedCommand& command, BoxLink& link, const CommandOutput& output)
{
    const auto start = Clock::now();
    const auto nowMs = [start]
    { return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count(); };
    FirmwareTransfer transfer;
    const std::optional<FirmwareStartMessage> begin = transfer.Begin(*command.image, nowMs());
    if (!begin)
        return Error(output, command.file + ": nothing to send"), kExitBadInput;
    link.Send(*begin);
    int shownPercent = -1;
    for (Clock::time_point tick = start + milliseconds(100);; tick += milliseconds(100))
    {
        std::this_thread::sleep_until(tick);
        if (output.stop && *output.stop)
        {
            transfer.Abort();
            if (output.terminal)
                Print(output, "\n");
            Error(output, "firmware transfer interrupted after " +
                              std::to_string(transfer.BlocksSent()) + " of " +
                              std::to_string(transfer.BlockCount()) + " blocks");
            return kExitNoAnswer;
        }
        const FirmwareTransfer::Step step = transfer.Tick(nowMs());
        if (step.kind == FirmwareTransfer::Step::Kind::kFinished)
            break;
        if (step.kind != FirmwareTransfer::Step::Kind::kBlock)
            continue;
        link.Send(step.block);
        const int percent = FirmwareProgressPercent(step.blocksSent, step.blockCount);
        if (output.terminal)
            Print(output, "\r" + FirmwareProgressBar(step.blocksSent, step.blockCount));
        else if (percent != shownPercent)
            Print(output,
                  "firmware: " + FirmwareProgressText(step.blocksSent, step.blockCount) + "\n");
        shownPercent = percent;
    }
    Print(output, std::string(output.terminal ? "\n" : "") + "firmware: " + command.file +
                      " sent, " + std::to_string(transfer.BlockCount()) + " blocks\n");
    return kExitSuccess;
}

int Monitor(BoxLink& link, const CliOptions& options, const CommandOutput& output)
{
    const Clock::time_point start = Clock::now();
    std::fprintf(output.err, "listening to \"%s\" (Ctrl+C stops)\n", link.InputName().c_str());
    std::fflush(output.err);
    Clock::time_point idleAt = start;
    while (!(output.stop && *output.stop))
    {
        if (Clock::now() >= idleAt)
        {
            if (output.idle)
                output.idle();
            idleAt += milliseconds(100);
        }
        const Clock::time_point wait = output.idle ? idleAt : Clock::now() + std::chrono::hours(24);
        const std::optional<BoxLink::Bytes> message = link.Receive(wait, output.stop);
        if (!message || (KindOfMessage(*message) & options.kinds) == 0)
            continue;
        const long long ms = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
        Print(output,
              FormatText("%8lld  ", ms) + DescribeMidiMessage(*message, options.hex) + "\n");
    }
    return kExitSuccess;
}

// detect: one line per box that answers.
int Detect(BoxLink& link, const CliOptions& options, const CommandOutput& output)
{
    auto result = link.FindBoxes(milliseconds(options.timeoutMs), &IsEditorOrToolPort);
    if (const std::string* error = std::get_if<std::string>(&result))
        return Error(output, *error), kExitMidiMissing;
    const std::vector<BoxLink::FoundBox>& boxes = std::get<std::vector<BoxLink::FoundBox>>(result);
    for (const BoxLink::FoundBox& box : boxes)
    {
        const VersionVerdict verdict = CheckFirmwareVersion(box.version);
        Print(output, "out " + Quoted(box.output) + " in " + Quoted(box.input) + " " +
                          VersionText(box.version) + " " +
                          (verdict != VersionVerdict::kAccepted ? VersionMessage(verdict)
                           : box.interfaceMode                  ? std::string(kInterfaceModeText)
                                               : std::string(kStandaloneModeText)) +
                          "\n");
    }
    if (boxes.empty())
        return Error(output, "no box answered on any port within " +
                                 std::to_string(options.timeoutMs) +
                                 " ms each (see stomplet ports)"),
               kExitNoAnswer;
    return kExitSuccess;
}

// The setting a calibrate command names.
int CalibrationParam(const std::string& pedal, const std::string& end)
{
    if (pedal == "pedal1")
        return end == "low" ? kPedal1CalibrationLow : kPedal1CalibrationHigh;
    return end == "low" ? kPedal2CalibrationLow : kPedal2CalibrationHigh;
}

// The values a preset or a raw All Settings message holds, told apart by content: a file that
// starts with the byte F0 is the message, anything else is read as a preset's text.
std::variant<PresetValues, std::string> ReadSettingsFile(const std::string& file)
{
    std::error_code reason;
    const std::variant<std::string, FileReadError> content =
        ReadFileBelow(file, kPresetFileLimit, &reason);
    if (const FileReadError* error = std::get_if<FileReadError>(&content))
    {
        if (*error == FileReadError::kTooLarge)
            return file + ": " + std::string(kPresetTooLargeText);
        return file + ": " + std::string(DescribeFileReadError(*error)) +
               (*error == FileReadError::kCannotOpen && reason ? " (" + reason.message() + ")"
                                                               : std::string());
    }
    const std::string& text = std::get<std::string>(content);
    if (!text.empty() && static_cast<std::uint8_t>(text.front()) == kSysExStart)
    {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const SyxReadResult syx = ParseAllSettingsSyx({bytes, text.size()});
        if (!syx.values)
            return file + ": " + syx.error;
        return *syx.values;
    }
    const PresetReadResult preset = ParsePresetFile(text);
    if (const PresetFileRefusal* refusal = std::get_if<PresetFileRefusal>(&preset))
        return file + ": " + refusal->detail;
    return std::get<PresetFileContent>(preset).values;
}
} // namespace

PrepareResult PrepareCommand(const CliArguments& arguments)
{
    PreparedCommand prepared;
    prepared.command = arguments.command.value_or(CliCommand::kStatus);
    const std::vector<std::string>& operands = arguments.operands;
    switch (prepared.command)
    {
    case CliCommand::kSave:
    case CliCommand::kExport:
        prepared.file = operands.at(0);
        break;
    case CliCommand::kLoad:
    case CliCommand::kDiff:
    {
        prepared.file = operands.at(0);
        auto read = ReadSettingsFile(prepared.file);
        if (std::string* error = std::get_if<std::string>(&read))
            return *error;
        prepared.values = ClampPresetValues(std::get<PresetValues>(read));
        break;
    }
    case CliCommand::kSet:
    {
        const std::optional<int> idx = FindSetting(operands.at(0));
        if (!idx)
            return UnknownSettingError(operands[0]);
        const SettingValueResult value = ParseSettingValue(*idx, operands.at(1));
        if (!value.value)
            return value.error;
        prepared.paramIdx = *idx;
        prepared.value = *value.value;
        break;
    }
    case CliCommand::kCalibrate:
        prepared.paramIdx = CalibrationParam(operands.at(0), operands.at(1));
        break;
    case CliCommand::kFirmware:
    {
        prepared.file = operands.at(0);
        FirmwareImageResult image = ReadFirmwareFile(prepared.file);
        if (const FirmwareImageError* error = std::get_if<FirmwareImageError>(&image))
            return prepared.file + ": " + FirmwareProblem(*error);
        prepared.image = std::move(std::get<FirmwareImage>(image));
        break;
    }
    default:
        break;
    }
    return prepared;
}

int RunCommand(const PreparedCommand& command, const CliOptions& options, BoxLink& link,
               const CommandOutput& output)
{
    switch (command.command)
    {
    case CliCommand::kStatus:
        return Status(link, options, output);
    case CliCommand::kDump:
    case CliCommand::kSave:
    case CliCommand::kExport:
    case CliCommand::kReset:
    {
        if (command.command == CliCommand::kReset)
            link.Send(BuildResetAllRequest());
        const std::optional<StatusReply> reply = AskStatus(link, options, output);
        if (!reply)
            return kExitNoAnswer;
        const PresetValues values = ValuesOf(*reply);
        if (command.command == CliCommand::kSave)
        {
            if (const int status = WriteOut(command.file, FormatPresetFile(values), output))
                return status;
            if (command.file != kStandardOutputName)
                Print(output, "saved the box's settings to " + command.file + "\n");
            return kExitSuccess;
        }
        if (command.command == CliCommand::kExport)
        {
            const std::optional<AllSettingsMessage> message = BuildAllSettings(values);
            if (!message)
                return Error(output, "the box's settings are not data bytes"), kExitNoAnswer;
            const std::string content(message->bytes.begin(), message->bytes.end());
            if (const int status = WriteOut(command.file, content, output))
                return status;
            if (command.file != kStandardOutputName)
                Print(output, "exported the box's settings to " + command.file + "\n");
            return kExitSuccess;
        }
        Print(output, FormatDump(reply->version, values, options.json));
        return kExitSuccess;
    }
    case CliCommand::kLoad:
        return Load(command, link, options, output);
    case CliCommand::kDiff:
        return Diff(command, link, options, output);
    case CliCommand::kDetect:
        return Detect(link, options, output);
    case CliCommand::kSet:
        return Set(command, link, options, output);
    case CliCommand::kCalibrate:
        return Calibrate(command, link, options, output);
    case CliCommand::kFirmware:
        return Firmware(command, link, output);
    case CliCommand::kMonitor:
        return Monitor(link, options, output);
    case CliCommand::kPorts:
        break;
    }
    return kExitSuccess;
}

void PrintPorts(BoxLink& link, const BoxLink::PortChoice& choice, std::FILE* out)
{
    const BoxLink::PortLists lists = link.ListPorts();
    const auto chosen = link.Choose(lists, choice);
    const auto* picked = std::get_if<std::pair<unsigned, unsigned>>(&chosen);
    const auto print = [out](const char* title, const std::vector<std::string>& names,
                             std::optional<unsigned> selected)
    {
        std::fprintf(out, "%s\n", title);
        for (unsigned i = 0; i < names.size(); ++i)
            std::fprintf(out, "%c %s\n", selected == i ? '*' : ' ', names[i].c_str());
        if (names.empty())
            std::fprintf(out, "  (none)\n");
    };
    print("Output ports (to the box):", lists.outputs,
          picked ? std::optional(picked->first) : std::nullopt);
    print("Input ports (from the box):", lists.inputs,
          picked ? std::optional(picked->second) : std::nullopt);
    std::fflush(out);
}

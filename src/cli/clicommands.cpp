// SPDX-License-Identifier: GPL-3.0-or-later
// CliCommands: the commands of hygra-cli, from their arguments to their output.
#include "cli/clicommands.h"

#include "cli/analysisjson.h"
#include "cli/archivecommands.h"
#include "cli/auditcommands.h"
#include "cli/auditrecorder.h"
#include "cli/reviewcommands.h"
#include "cli/cliexit.h"
#include "cli/clioutput.h"
#include "cli/downloadwatch.h"
#include "cli/passwordinput.h"
#include "cli/recordingjson.h"
#include "cli/reportcheck.h"
#include "cli/signalbridge.h"
#include "config/configjson.h"
#include "config/persettingjson.h"
#include "core/lgxdevtype.h"
#include "core/newfile.h"
#include "core/settinginfo.h"
#include "core/utils.h"
#include "export/pdfreport.h"
#include "export/pdfsignature.h"
#include "export/spreadsheetwriter.h"
#include "export/xlsxworkbookwriter.h"
#include "platform/loggerenumeration.h"
#include "recording/recordingaudit.h"
#include "recording/recordingfile.h"
#include "recording/recordingreader.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>


CliCommands::CliCommands(QIODevice *outDevice, QIODevice *errDevice) : out(stdout), err(stderr)
{
    if (outDevice)
        out.setDevice(outDevice);
    if (errDevice)
        err.setDevice(errDevice);
}

bool CliCommands::needsGui(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    return command == QLatin1String("export") ||
           (command == QLatin1String("watch") && arguments.contains(QLatin1String("--pdf"))) ||
           (command == QLatin1String("archive") && ArchiveCommands::needsGui(arguments)) ||
           (command == QLatin1String("audit") && AuditCommands::needsGui(arguments));
}

int CliCommands::run(const QStringList &arguments)
{
    const int code = runCommand(arguments);
    out.flush();
    err.flush();
    return code;
}

int CliCommands::runCommand(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    if (command.isEmpty() || command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        QTextStream &stream = command.isEmpty() ? err : out;
        printOverview(stream);
        return command.isEmpty() ? ExitUsage : ExitOk;
    }
    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.value(0) + QLatin1Char(' ') + command);
    if (command == QLatin1String("list"))
        return list(rest);
    if (command == QLatin1String("info"))
        return info(rest);
    if (command == QLatin1String("download"))
        return download(rest);
    if (command == QLatin1String("watch"))
        return watch(rest);
    if (command == QLatin1String("show"))
        return show(rest);
    if (command == QLatin1String("export"))
        return exportFile(rest);
    if (command == QLatin1String("verify"))
        return verify(rest);
    if (command == QLatin1String("sign"))
        return sign(rest);
    if (command == QLatin1String("config"))
        return config(rest);
    if (command == QLatin1String("start") || command == QLatin1String("stop"))
        return startStop(rest, command == QLatin1String("start"));
    if (command == QLatin1String("archive"))
        return ArchiveCommands(out, err).run(rest);
    if (command == QLatin1String("audit"))
        return AuditCommands(out, err).run(rest);
    if (command == QLatin1String("comment"))
        return ReviewCommands(out, err).comment(rest);
    if (command == QLatin1String("review"))
        return ReviewCommands(out, err).review(rest);
    if (command == QLatin1String("signatures"))
        return ReviewCommands(out, err).signatures(rest);
    if (command == QLatin1String("review-lists"))
        return ReviewCommands(out, err).lists(rest);
    err << "hygra-cli: unknown command '" << command << "'\n";
    printOverview(err);
    return ExitUsage;
}

void CliCommands::printOverview(QTextStream &stream)
{
    stream << "Usage: hygra-cli COMMAND [options]\n\n"
              "Commands:\n"
              "  list                                  attached loggers: model and index\n"
              "  info [--model M] [--index I]          state, serial number, configuration, note\n"
              "  download [--model M] [--index I] [--dir D]\n"
              "                                        download the recording into a new file\n"
              "  watch [--dir D] [--pdf] [--csv] [--xlsx] [--stop-recording] [--once]\n"
              "                                        download every logger plugged in, one JSON\n"
              "                                        line each\n"
              "  show FILE [--samples] [--range LOW:HIGH] [--activation-energy KJ]\n"
              "                                        a recording file and its analysis as JSON\n"
              "  export FILE (--csv OUT | --pdf OUT | --xlsx OUT)\n"
              "                                        spreadsheet, PDF report or Excel workbook\n"
              "  verify FILE.data REPORT.pdf [--ca CA.pem]\n"
              "                                        whether the report was made from the file,\n"
              "                                        and who signed it\n"
              "  sign REPORT.pdf --p12 FILE.p12 [--out SIGNED.pdf] [--password-fd N]\n"
              "                                        sign the report digitally (PAdES)\n"
              "  config get [--model M] [--index I]    configuration and note as JSON\n"
              "  config set FILE.json [--model M] [--index I] [--erase]\n"
              "                                        write the fields in FILE.json, verified;\n"
              "                                        --erase: even over the logger's records\n"
              "  start | stop [--model M] [--index I]  start or stop recording\n"
              "  archive import | list | get | history | check | setup | grant\n"
              "                                        the recordings archive\n"
              "  audit list | verify | export          who did what, when and why\n"
              "  comment FILE|SHA256 [--excursion START] --reason TEXT [--action TEXT]\n"
              "                                        explain a recording or an excursion\n"
              "  review FILE|SHA256 --meaning M [--comment TEXT] [--password-fd N]\n"
              "                                        sign a recording, password asked again\n"
              "  signatures FILE|SHA256                a recording's signatures and comments\n"
              "  review-lists [--set FILE.json]        the reasons, actions and signature\n"
              "                                        meanings a review chooses from\n\n"
              "'hygra-cli COMMAND --help' describes one command.\n";
    stream.flush();
}

int CliCommands::parse(QCommandLineParser &parser, const QStringList &arguments, int positionals)
{
    return parseCommand(parser, arguments, positionals, out, err);
}

int CliCommands::fail(int code, const QString &message)
{
    return printFailure(err, code, message);
}

int CliCommands::watch(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Waits for loggers and downloads each one that is attached at start or plugged in\n"
        "later, one after another, as 'download' does: into a new file in the recordings\n"
        "folder, moved into --dir when given. Prints one line of JSON per logger:\n"
        "  serial, model      the logger\n"
        "  file, pdf, csv, xlsx\n"
        "                     the recording file and the report, spreadsheet and\n"
        "                     workbook written beside it (null when not asked for or\n"
        "                     not written)\n"
        "  samples            the samples in the file\n"
        "  alarm              whether an alarm that was on was raised (the report's badge)\n"
        "  skipped            \"no records\", or \"recording\" for a recording logger\n"
        "                     without --stop-recording; the logger was left as it is\n"
        "  error              why the logger could not be served\n"
        "A logger is served once per plugging in, whatever the outcome: unplug it and\n"
        "plug it in again to download it again. One pulled out mid-download loses only\n"
        "its partial file. Ctrl+C (SIGINT) or SIGTERM ends the watch, abandoning the\n"
        "download in progress and removing its partial file. The exit code is 0, or 10\n"
        "when a report, spreadsheet or workbook asked for could not be written (its\n"
        "line's error names the file and the reason; the recording is kept)."));
    const QCommandLineOption dirOption(
        QStringLiteral("dir"),
        QStringLiteral("Folder for the new files (default: the recordings folder)."),
        QStringLiteral("D"));
    const QCommandLineOption pdfOption(
        QStringLiteral("pdf"), QStringLiteral("Also write the PDF report beside each file."));
    const QCommandLineOption csvOption(
        QStringLiteral("csv"), QStringLiteral("Also write the spreadsheet beside each file."));
    const QCommandLineOption xlsxOption(
        QStringLiteral("xlsx"), QStringLiteral("Also write the Excel workbook beside each file."));
    parser.addOption(xlsxOption);
    const QCommandLineOption stopOption(
        QStringLiteral("stop-recording"),
        QStringLiteral("Stop a logger that is recording, then download it (default: skip it)."));
    const QCommandLineOption onceOption(
        QStringLiteral("once"),
        QStringLiteral("Serve the loggers attached at start, then end instead of waiting."));
    const QCommandLineOption archiveOption = ArchiveCommands::archiveOption();
    parser.addOptions({dirOption, pdfOption, csvOption, stopOption, onceOption, archiveOption});
    const int parsed = parse(parser, arguments, 0);
    if (parsed >= 0)
        return parsed;
    DownloadWatch::Options options;
    options.dir = parser.value(dirOption);
    options.pdf = parser.isSet(pdfOption);
    options.csv = parser.isSet(csvOption);
    options.xlsx = parser.isSet(xlsxOption);
    options.stopRecording = parser.isSet(stopOption);
    options.once = parser.isSet(onceOption);
    options.archiveUrl = parser.value(archiveOption);
    // Refused now rather than after the first download.
    if (!options.dir.isEmpty() && !QDir().mkpath(options.dir))
        return fail(ExitCannotWrite,
                    QStringLiteral("cannot create the folder %1").arg(options.dir));
    removeLeftovers(options.dir);
    DownloadWatch watch(options, out, err);
    SignalBridge bridge;
    QObject::connect(&bridge, &SignalBridge::received, &watch, &DownloadWatch::stop);
    watch.run();
    // Stopped or done: a further signal only cuts the ending short.
    bridge.keepIgnoring();
    return watch.hadWriteFailure() ? ExitCannotWrite : ExitOk;
}

int CliCommands::show(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints a recording file's header, statistics, alarm results and analysis as JSON.\n"
        "\"analysis\" counts the valid samples (those with a temperature) only:\n"
        "  mktCelsius          mean kinetic temperature, 2 decimals (null without samples)\n"
        "  activationEnergyKJ  the activation energy it was computed with, kJ/mol\n"
        "  rangeLow, rangeHigh the range's bounds in degrees Celsius (null: no bound)\n"
        "  timeAboveSeconds, timeBelowSeconds\n"
        "                      time strictly above the upper / below the lower bound\n"
        "  excursions          runs of consecutive samples on one side: side (above or\n"
        "                      below), start (as the samples' time), durationSeconds\n"
        "                      (samples x interval), peakCelsius (highest or lowest)\n"
        "  validSamples        the number of samples with a temperature\n"
        "  sha256              the file's SHA-256, which 'verify' finds in its reports"));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The recording file."));
    const QCommandLineOption samplesOption(
        QStringLiteral("samples"),
        QStringLiteral("Also list every sample: time, temperature, humidity, alarm state."));
    const QCommandLineOption rangeOption(
        QStringLiteral("range"),
        QStringLiteral("Temperature range in degrees Celsius for the analysis; a side left "
                       "empty has no bound (2:8, :8, 2:, :). Default: the recording's TL1 and "
                       "TH1 limits that are switched on."),
        QStringLiteral("LOW:HIGH"));
    const QCommandLineOption energyOption(
        QStringLiteral("activation-energy"),
        QStringLiteral("Activation energy of the mean kinetic temperature in kJ/mol "
                       "(default 83.144)."),
        QStringLiteral("KJ"));
    parser.addOption(samplesOption);
    parser.addOption(rangeOption);
    parser.addOption(energyOption);
    const int parsed = parse(parser, arguments, 1);
    if (parsed >= 0)
        return parsed;
    std::optional<TemperatureRange> range;
    if (parser.isSet(rangeOption) && !(range = AnalysisJson::parseRange(parser.value(rangeOption))))
        return fail(ExitUsage, QStringLiteral("--range expects LOW:HIGH in degrees Celsius with "
                                              "LOW not above HIGH, either side empty for no "
                                              "bound (2:8, :8, 2:, :); got '%1'")
                                   .arg(parser.value(rangeOption)));
    std::optional<double> energy = RecordingAnalysis::defaultActivationEnergyKJ;
    if (parser.isSet(energyOption) &&
        !(energy = AnalysisJson::parseActivationEnergy(parser.value(energyOption))))
        return fail(ExitUsage,
                    QStringLiteral("--activation-energy expects a positive number of kJ/mol; "
                                   "got '%1'")
                        .arg(parser.value(energyOption)));

    LoadedRecording recording;
    const int read = readRecording(parser.positionalArguments().first(), &recording);
    if (read != ExitOk)
        return read;
    const RecordingAnalysis analysis = RecordingAnalysis::of(
        recording, range ? *range : RecordingAnalysis::alarmRange(recording.recording), *energy);
    QJsonObject o = RecordingJson::toJson(recording, parser.isSet(samplesOption));
    o.insert(QStringLiteral("analysis"), AnalysisJson::toJson(analysis, recording.sha256));
    out << jsonText(o);
    if (!recording.complete())
        err << "hygra-cli: " << parser.positionalArguments().first()
            << " is an incomplete recording: " << recording.samples.size() << " of "
            << recording.expectedSamples << " samples\n";
    return ExitOk;
}

int CliCommands::readRecording(const QString &path, LoadedRecording *recording)
{
    *recording = RecordingReader::read(path);
    switch (recording->status) {
    case RecordingStatus::CannotOpen:
        return fail(ExitFileNotReadable, QStringLiteral("cannot read %1").arg(path));
    case RecordingStatus::UnreadableName:
        return fail(ExitFileNotReadable, QStringLiteral("cannot read %1: %2; rename the file")
                                             .arg(RecordingFile::shownPath(path),
                                                  recordingStatusText(recording->status)));
    case RecordingStatus::NotRegularFile:
        return fail(
            ExitFileNotReadable,
            QStringLiteral("cannot read %1: %2").arg(path, recordingStatusText(recording->status)));
    default:
        break;
    }
    if (!recording->ok())
        return fail(ExitNotRecording, QStringLiteral("%1 is not a recording file: %2")
                                          .arg(path, recordingStatusText(recording->status)));
    return ExitOk;
}

int CliCommands::exportFile(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a recording as a spreadsheet file, a PDF report or an Excel "
                       "workbook (samples as dates and numbers, a summary, charts)."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The recording file."));
    const QCommandLineOption csvOption(QStringLiteral("csv"),
                                       QStringLiteral("Write the spreadsheet file OUT."),
                                       QStringLiteral("OUT"));
    const QCommandLineOption pdfOption(
        QStringLiteral("pdf"), QStringLiteral("Write the PDF report OUT."), QStringLiteral("OUT"));
    const QCommandLineOption xlsxOption(QStringLiteral("xlsx"),
                                        QStringLiteral("Write the Excel workbook OUT."),
                                        QStringLiteral("OUT"));
    parser.addOptions({csvOption, pdfOption, xlsxOption, ArchiveCommands::archiveOption(),
                       AuditRecorder::reasonOption()});
    const int parsed = parse(parser, arguments, 1);
    if (parsed >= 0)
        return parsed;
    AuditRecorder audit(err);
    audit.configure(parser);
    const int asked =
        int(parser.isSet(csvOption)) + int(parser.isSet(pdfOption)) + int(parser.isSet(xlsxOption));
    if (asked != 1)
        return fail(ExitUsage,
                    QStringLiteral("give exactly one of --csv OUT, --pdf OUT and --xlsx OUT"));
    LoadedRecording recording;
    const int read = readRecording(parser.positionalArguments().first(), &recording);
    if (read != ExitOk)
        return read;
    if (!parser.isSet(csvOption))
        ReviewCommands::attachReview(parser.value(QStringLiteral("archive")), &recording, err);
    QString target;
    QString format;
    QString error;
    bool written = false;
    if (parser.isSet(pdfOption)) {
        target = parser.value(pdfOption);
        format = QStringLiteral("pdf");
        written = writePdfReport(target, recording, dataPageCount(recording.samples.size()),
                                 isEnglish(), &error, audit.head());
    } else if (parser.isSet(xlsxOption)) {
        target = parser.value(xlsxOption);
        format = QStringLiteral("xlsx");
        written = writeXlsxWorkbook(target, recording, isEnglish(), &error, audit.head());
    } else {
        target = parser.value(csvOption);
        format = QStringLiteral("csv");
        written = writeSpreadsheet(target, recording, &error);
    }
    if (!written) {
        const QString message = cannotWriteText(target, error);
        audit.record(recordingaudit::about(
            QStringLiteral("export-failed"), recording,
            {{QStringLiteral("format"), format},
             {QStringLiteral("file"), QFileInfo(target).fileName()},
             {QStringLiteral("error"), message}}));
        return fail(ExitCannotWrite, message);
    }
    audit.record(
        recordingaudit::exported(format, target, recordingaudit::fileSha256(target), recording));
    out << QDir::toNativeSeparators(target) << '\n';
    return ExitOk;
}

int CliCommands::verify(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tells whether a PDF report was made from exactly this recording file:\n"
                       "the report must be a complete PDF with one metadata packet, the\n"
                       "document's own, whose SHA-256 equals the file's, and its first page must\n"
                       "show that fingerprint, the logger's serial number, the start and stop\n"
                       "time and the sample count of the file. When it does, prints the\n"
                       "fingerprint with the serial number and the time span the report names.\n"
                       "Exit code 13: the report was made from another file (both fingerprints\n"
                       "are printed); 19: the report is incomplete, damaged or altered. A\n"
                       "fingerprint is no signature: whoever can write a PDF can write one.\n"
                       "A report signed with 'sign' must carry an intact signature over all of\n"
                       "its bytes (else exit code 19); the signer and the signing time are\n"
                       "printed. With --ca, the signer's certificate must also chain to a\n"
                       "certificate of CA.pem (else exit code 19, as for an unsigned report)."));
    parser.addPositionalArgument(QStringLiteral("FILE.data"),
                                 QStringLiteral("The recording file."));
    parser.addPositionalArgument(QStringLiteral("REPORT.pdf"), QStringLiteral("The PDF report."));
    const QCommandLineOption caOption(
        QStringLiteral("ca"),
        QStringLiteral("PEM file of the certificates the signer's certificate must chain to."),
        QStringLiteral("CA.pem"));
    parser.addOptions({caOption, ArchiveCommands::archiveOption()});
    const int parsed = parse(parser, arguments, 2);
    if (parsed >= 0)
        return parsed;
    const QString path = parser.positionalArguments().at(0);
    LoadedRecording recording;
    const int read = readRecording(path, &recording);
    if (read != ExitOk)
        return read;
    // The reader hashes what it read; a file it could not read back has no fingerprint.
    if (recording.sha256.isEmpty())
        return fail(ExitFileNotReadable, QStringLiteral("cannot read %1").arg(path));
    const ReportCheck check =
        ReportCheck::compare(path, recording, parser.positionalArguments().at(1),
                             parser.value(caOption));
    if (check.exitCode != ExitOk)
        return fail(check.exitCode, check.text);
    QFile report(parser.positionalArguments().at(1));
    const uchar *mapped = report.open(QIODevice::ReadOnly) ? report.map(0, report.size()) : nullptr;
    const std::optional<ReportMetadata> metadata =
        mapped ? ReportMetadata::fromPdf(QByteArray::fromRawData(
                     reinterpret_cast<const char *>(mapped), int(report.size())))
               : std::nullopt;
    const bool reviewed = metadata && !metadata->signatures.isEmpty();
    if (reviewed) {
        QString problem;
        const int signatures = ReviewCommands::checkReportSignatures(
            parser.value(QStringLiteral("archive")), recording.sha256, *metadata, &problem);
        if (signatures != ExitOk)
            return fail(signatures, problem);
    }
    out << check.text << '\n';
    if (reviewed)
        out << "signatures as the archive's trail holds them: " << metadata->signatures.size()
            << '\n';
    return ExitOk;
}

int CliCommands::sign(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Signs a PDF report digitally, as PAdES B-B: a signature field and a detached CMS\n"
        "signature (SHA-256, the certificate and its chain) over all of the file, appended\n"
        "as an incremental update, so the report stays as it was and any PDF reader can\n"
        "check it. The key and certificate come from a PKCS#12 file, whose password is\n"
        "read from --password-fd N up to the first newline, else asked on the terminal.\n"
        "Prints the signed file. Exit codes: 7 the report or the PKCS#12 file cannot be\n"
        "read (or the password is wrong), 10 the signed report cannot be written (the\n"
        "target is left as it was), 14 the report is no PDF."));
    parser.addPositionalArgument(QStringLiteral("REPORT.pdf"), QStringLiteral("The PDF report."));
    const QCommandLineOption p12Option(
        QStringLiteral("p12"), QStringLiteral("The PKCS#12 file with the key and certificate."),
        QStringLiteral("FILE.p12"));
    const QCommandLineOption outOption(
        QStringLiteral("out"), QStringLiteral("Write the signed report here (default: in place)."),
        QStringLiteral("SIGNED.pdf"));
    parser.addOptions({p12Option, outOption, passwordinput::fdOption(),
                       ArchiveCommands::archiveOption(),
                       AuditRecorder::reasonOption()});
    const int parsed = parse(parser, arguments, 1);
    if (parsed >= 0)
        return parsed;
    if (!parser.isSet(p12Option))
        return fail(ExitUsage, QStringLiteral("give the key and certificate with --p12 FILE.p12"));
    AuditRecorder audit(err);
    audit.configure(parser);
    const QString report = parser.positionalArguments().first();
    const QString target = parser.isSet(outOption) ? parser.value(outOption) : report;
    QFile reportFile(report);
    if (!QFileInfo(report).isFile() || !reportFile.open(QIODevice::ReadOnly))
        return fail(ExitFileNotReadable, QStringLiteral("cannot read %1").arg(report));
    if (reportFile.read(5) != "%PDF-")
        return fail(ExitNoFingerprint, QStringLiteral("%1 is not a PDF file").arg(report));
    reportFile.close();

    QByteArray password;
    QString error;
    if (!passwordinput::read(parser,
                             QStringLiteral("Password for %1: ")
                                 .arg(QDir::toNativeSeparators(parser.value(p12Option))),
                             &password, &error))
        return fail(parser.isSet(QStringLiteral("password-fd")) ? ExitFileNotReadable : ExitUsage,
                    error);
    const QJsonObject details{{QStringLiteral("file"), QFileInfo(target).fileName()}};
    SigningKey key;
    const bool loaded = loadPkcs12(parser.value(p12Option), password, &key, &error);
    password.fill('\0');
    if (!loaded) {
        audit.record(audit::failed(QStringLiteral("report-signature"), error, details));
        return fail(ExitFileNotReadable, error);
    }
    if (!signPdf(report, target, key, &error)) {
        const QString message = cannotWriteText(target, error);
        audit.record(audit::failed(QStringLiteral("report-signature"), message, details));
        return fail(ExitCannotWrite, message);
    }
    audit.record(audit::event(
        QStringLiteral("report-signature"),
        {{QStringLiteral("file"), QFileInfo(target).fileName()},
         {QStringLiteral("sha256"), QString::fromLatin1(recordingaudit::fileSha256(target))},
         {QStringLiteral("signer"), key.signer}}));
    out << QDir::toNativeSeparators(target) << '\n';
    return ExitOk;
}

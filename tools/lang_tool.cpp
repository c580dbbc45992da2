#include "lang_tool.h"

#include "lang_format.h"
#include "lang_catalogue.h"
#include "lang_file_contents.h"
#include "licence.h"
#include "po_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace {

const char kUsage[] =
    "usage: quorlo-lang pot ORIGINAL.SPK [-o FILE]\n"
    "       quorlo-lang build XX.po -o QRL_XXXXXXXX.SPK\n"
    "       quorlo-lang dump FILE.SPK [ORIGINAL.SPK] [-o FILE]\n"
    "       quorlo-lang check FILE.SPK [ORIGINAL.SPK]\n"
    "       quorlo-lang --help | --version\n"
    "The original-language file defaults to QRL_ORIGINAL.SPK beside FILE.SPK.\n";

struct TArguments {
    QString Command;
    QStringList Files;
    QString Output;
};

std::optional<TArguments> parse(const QStringList& arguments, QByteArray& err)
{
    TArguments a;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a.Command = QStringLiteral("help");
        } else if (arg == QLatin1String("--version")) {
            a.Command = QStringLiteral("version");
        } else if (arg == QLatin1String("-o")) {
            if (++i >= arguments.size()) {
                err += "quorlo-lang: -o needs a file name\n";
                return std::nullopt;
            }
            a.Output = arguments[i];
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            err += "quorlo-lang: unknown option " + arg.toUtf8() + "\n";
            return std::nullopt;
        } else if (a.Command.isEmpty()) {
            a.Command = arg;
        } else {
            a.Files.append(arg);
        }
    }
    return a;
}

QByteArray readFile(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw ELangTool(QStringLiteral("%1: cannot read: %2").arg(name, file.errorString()));
    // A translation is a few hundred kilobytes at most.
    constexpr qint64 kLimit = 64 << 20;
    if (file.size() > kLimit)
        throw ELangTool(QStringLiteral("%1: too large for a PO file").arg(name));
    return file.readAll();
}

void writeOutput(const QByteArray& bytes, const QString& output, QByteArray& out)
{
    if (output.isEmpty() || output == QLatin1String("-")) {
        out += bytes;
        return;
    }
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ELangTool(QStringLiteral("%1: cannot write: %2").arg(output, file.errorString()));
}

/// The original named on the command line, else QRL_ORIGINAL.SPK beside `file`.
std::optional<TLangFileContents> original(const TArguments& a, const QString& file, bool required)
{
    QString name = a.Files.value(1);
    if (name.isEmpty()) {
        name = QFileInfo(file).dir().filePath(QStringLiteral("QRL_ORIGINAL.SPK"));
        const bool same = QFileInfo(name).canonicalFilePath() == QFileInfo(file).canonicalFilePath();
        if (!QFileInfo::exists(name) || same) {
            if (required)
                throw ELangTool(QStringLiteral("%1: name the original-language file (quorlo -co writes it)").arg(name));
            return std::nullopt;
        }
    }
    return ReadLanguageFile(name);
}

int run(const TArguments& a, std::uint32_t programVersion, QByteArray& out, QByteArray& err)
{
    const auto files = [&](qsizetype least, qsizetype most) {
        if (a.Files.size() < least || a.Files.size() > most)
            throw ELangTool(QStringLiteral("wrong number of files for %1\n%2").arg(a.Command, QLatin1String(kUsage)));
    };
    if (a.Command == QLatin1String("pot")) {
        files(1, 1);
        writeOutput(WritePo(LangCatalogue::MakeTemplate(ReadLanguageFile(a.Files[0]))), a.Output, out);
        return 0;
    }
    if (a.Command == QLatin1String("build")) {
        files(1, 1);
        if (a.Output.isEmpty())
            throw ELangTool(QStringLiteral("build writes a file: -o QRL_XXXXXXXX.SPK"));
        const TPoFile po = ParsePo(readFile(a.Files[0]), a.Files[0]);
        const TLangFileContents built = LangCatalogue::Build(po, a.Files[0], programVersion);
        if (const QStringList faults = LangCatalogue::TextsOutsideCodePage(built); !faults.isEmpty())
            throw ELangTool(QStringLiteral("%1: texts that do not fit the language's code page:\n  %2")
                                .arg(a.Output, faults.join(QStringLiteral("\n  "))));
        if (const std::optional<QString> failure = WriteLanguageFile(built, a.Output))
            throw ELangTool(QStringLiteral("%1: cannot write the file: %2").arg(a.Output, *failure));
        return 0;
    }
    if (a.Command == QLatin1String("dump")) {
        files(1, 2);
        const TLangFileContents file = ReadLanguageFile(a.Files[0]);
        const std::optional<TLangFileContents> source = original(a, a.Files[0], false);
        writeOutput(WritePo(LangCatalogue::Dump(file, source ? &*source : nullptr)), a.Output, out);
        return 0;
    }
    if (a.Command == QLatin1String("check")) {
        files(1, 2);
        const TLangFileContents file = ReadLanguageFile(a.Files[0]);
        const TLangFileContents source = *original(a, a.Files[0], true);
        const QStringList report = LangCatalogue::Check(file, source);
        for (const QString& line : report)
            out += line.toUtf8() + '\n';
        if (file.ProgramVersion != source.ProgramVersion)
            out += QStringLiteral("note: made for version %1, the original is %2\n")
                       .arg(LangFile::VersionText(file.ProgramVersion), LangFile::VersionText(source.ProgramVersion))
                       .toUtf8();
        out += QStringLiteral("%1: %2\n")
                   .arg(a.Files[0], report.isEmpty() ? QStringLiteral("complete")
                                                     : QStringLiteral("%1 problem(s)").arg(report.size()))
                   .toUtf8();
        return report.isEmpty() ? 0 : 1;
    }
    err += kUsage;
    return 2;
}

}  // namespace

int RunLangTool(const QStringList& arguments, std::uint32_t programVersion, QByteArray& out, QByteArray& err)
{
    const std::optional<TArguments> a = parse(arguments, err);
    if (!a)
        return 2;
    if (a->Command == QLatin1String("version")) {
        out += "quorlo-lang " + LangFile::VersionText(programVersion).toUtf8() + "\n" + kLicenceLine + "\n";
        return 0;
    }
    if (a->Command.isEmpty() || a->Command == QLatin1String("help")) {
        (a->Command.isEmpty() ? err : out) += kUsage;
        return a->Command.isEmpty() ? 2 : 0;
    }
    try {
        return run(*a, programVersion, out, err);
    } catch (const Exception& e) {
        err += "quorlo-lang: " + e.Message.toUtf8() + "\n";
        return 2;
    }
}

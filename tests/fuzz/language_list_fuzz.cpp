// The language list over a program folder holding the input as a language
// file beside a sound one: listing, flags, and switching to every entry.
#include "fuzz_support.h"

#include "C_LangList.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QWidget>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    static QWidget* form = [] {
        auto* w = new QWidget;
        w->setObjectName(QStringLiteral("MainDlg"));
        auto* label = new QLabel(QStringLiteral("Print"), w);
        label->setObjectName(QStringLiteral("print_lbl"));
        return w;
    }();
    static const QString program = [] {
        const QString dir = FuzzFolder() + "/list";
        QDir().mkpath(dir);
        return dir;
    }();
    // French variant 0 is the input; variant 1 follows it only when the
    // input is a file the list can read.
    QFile::remove(program + "/QRL_0000040C.SPK");
    const QString path = program + "/QRL_0000040C.SPK";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(FuzzBytes(data, size)) != static_cast<qint64>(size))
        return 0;
    file.close();

    TLangList list(form);
    list.setObjectName(QStringLiteral("langue"));
    list.SetProgramDir(program);
    list.SetRegKey(QString());
    list.SetCplCompatibility(true);
    list.Loaded();
    list.BuildLanguageList();
    QImage flag;
    list.LoadFlagBitmap(0x040C, flag);
    for (int i = 0; i < list.Languages().Count(); ++i) {
        try {
            list.SetLanguageIndex(i);
        } catch (const ELanguageFormat&) {
        } catch (const EInvalidGraphic&) {
        }
    }
    return 0;
}

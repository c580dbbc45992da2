// A language file applied to the program's real forms, created as main()
// creates them, on the offscreen platform.
#include "fuzz_support.h"

#include "C_LangList.h"
#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_about.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    static TMainDlg* main = [] {
        QDir().mkpath(FuzzFolder() + "/program");
        auto* m = new TMainDlg;
        m->langue->SetProgramDir(FuzzFolder() + "/program");
        auto* settings = new TSettingsDlg(m->langue);
        auto* preview = new Tpreviewdlg(m);
        auto* about = new TAboutDlg;
        m->SetSettingsDialog(settings);
        m->SetPreviewDialog(preview);
        m->SetAboutDialog(about);
        return m;
    }();

    const QString path = WriteFuzzFile(QStringLiteral("language.spk"), FuzzBytes(data, size));
    TLanguageRecord record(4, main->langue->TranslationRoot(), &main->langue->ExcludedComps());
    try {
        record.ApplyFile(path);
    } catch (const ELanguageFormat&) {
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}

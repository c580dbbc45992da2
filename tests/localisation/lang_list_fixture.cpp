#include "lang_list_fixture.h"

#include "lang_components.h"
#include "registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

void LangListTest::SetUp()
{
    ASSERT_TRUE(program.isValid() && config.isValid() && data.isValid());
    previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // Language files the user running the tests may have added stay out.
    previousData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));

    MainDlg = std::make_unique<QDialog>();
    MainDlg->setObjectName(QStringLiteral("MainDlg"));
    MainDlg->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    print_btn = new QPushButton(QStringLiteral("Print Now"), MainDlg.get());
    print_btn->setObjectName(QStringLiteral("print_btn"));
    num_lbl = new QLabel(QStringLiteral("Number of pictures :"), MainDlg.get());
    num_lbl->setObjectName(QStringLiteral("num_lbl"));

    langue = new TLangList(MainDlg.get());
    langue->setObjectName(QStringLiteral("langue"));
    langue->SetFilePrefix(QStringLiteral("QRL_"));
    langue->SetRegKey(QStringLiteral("Software\\Varnel\\Quorlo"));
    langue->SetProgramDir(program.path());
    langue->SetCommandLine({QStringLiteral("quorlo")});
    langue->AfterLanguageSwitch = [this](QObject* sender) {
        ++afterSwitches;
        afterSender = sender;
    };
    langue->Loaded();
    RegisterForm(MainDlg.get());
}

void LangListTest::TearDown()
{
    MainDlg.reset();
    if (locked)
        QFile::setPermissions(locked->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (previousConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfig);
    if (previousData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previousData);
}

QString LangListTest::languageFile(std::uint32_t code) const
{
    return program.filePath(LangFile::LanguageFileName(QStringLiteral("QRL_"), code));
}

QString LangListTest::userLanguageDir() const
{
    return data.filePath(QStringLiteral("quorlo/lang"));
}

QString LangListTest::writeLanguage(const Language& language, const QString& folder) const
{
    LanguageFileBuilder::Options o;
    o.Revision = language.Revision;
    o.LangId = static_cast<std::uint16_t>(language.Code & 0xFFFF);
    o.HeaderText1 = language.Text1;
    o.HeaderText2 = language.Text2;
    o.HeaderText3 = language.Text3;
    o.Flag = BmpBytesOfBitmap(language.Flag);
    o.Version = language.Version;
    o.TwoByteHeader = language.Revision == 0;
    LanguageFileBuilder b(o);
    if (!language.Caption.isEmpty()) {
        if (language.Revision == 0)
            b.String(6, "MainDlg.print_btn").String(0, language.Caption).String(0, "");
        else
            b.Entry("MainDlg.print_btn", LangFile::textCaption | LangFile::translatedBit, language.Caption);
    }
    QString name = languageFile(language.Code);
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        name = QDir(folder).filePath(QFileInfo(name).fileName());
    }
    b.Write(name);
    return name;
}

std::optional<std::int32_t> LangListTest::savedCode() const
{
    TRegistry registry(TRootKey::CurrentUser);
    if (!registry.OpenKeyReadOnly(QStringLiteral("Software\\Varnel\\Quorlo")))
        return std::nullopt;
    return registry.ReadInteger(QStringLiteral("langue"));
}

void LangListTest::saveCode(std::int32_t code) const
{
    TRegistry registry(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.OpenKey(QStringLiteral("Software\\Varnel\\Quorlo"), true));
    ASSERT_TRUE(registry.WriteInteger(QStringLiteral("langue"), code));
}

QString LangListTest::settingsFile() const
{
    return TRegistry::KeyFile(TRootKey::CurrentUser, QStringLiteral("Software\\Varnel\\Quorlo"));
}

QString LangListTest::unwritableFolder()
{
    locked = std::make_unique<QTemporaryDir>();
    QFile::setPermissions(locked->path(), QFile::ReadOwner | QFile::ExeOwner);
    if (::access(QFile::encodeName(locked->path()).constData(), W_OK) != 0)
        return locked->path();
    // The super-user writes everywhere a mode forbids it; the kernel's own
    // folders still refuse new files.
    QFile probe(QStringLiteral("/sys/qrl_probe"));
    if (QDir(QStringLiteral("/sys")).exists() && !probe.open(QIODevice::WriteOnly))
        return QStringLiteral("/sys");
    probe.remove();
    return {};
}

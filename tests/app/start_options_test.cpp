#include "start_options.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(StartOptions, TheFirstItemThatIsNoSwitchIsThePhoto)
{
    struct Case {
        QStringList args;
        bool help;
        bool version;
        QString photo;
    };
    const Case cases[] = {
        {{}, false, false, {}},
        {{"face.jpg"}, false, false, "face.jpg"},
        {{"-co", "face.jpg"}, false, false, "face.jpg"},
        {{"/CO", "face.jpg"}, false, false, "face.jpg"},
        {{"-compile"}, false, false, {}},
        {{"/home/me/face.jpg"}, false, false, "/home/me/face.jpg"},
        {{"first.jpg", "second.jpg"}, false, false, "first.jpg"},
        {{"face.jpg", "--version"}, false, true, "face.jpg"},
        {{"-h"}, true, false, {}},
        {{"--help", "--version"}, true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const TStartOptions options = ParseStartOptions(c.args);
        EXPECT_EQ(options.Help, c.help);
        EXPECT_EQ(options.Version, c.version);
        EXPECT_EQ(options.Photo, c.photo);
    }
}

TEST(StartOptions, AnExistingFileInTheRootFolderIsAPhotoNotASwitch)
{
    // "/co" spells "-co"; an existing "/name" is a file.
    EXPECT_EQ(ParseStartOptions({"/tmp"}).Photo, "/tmp");
    EXPECT_EQ(ParseStartOptions({"/co-no-such-file"}).Photo, "");
}

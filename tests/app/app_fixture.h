#pragma once

#include "application_events.h"
#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "error_display.h"
#include "printer.h"
#include "test_printer.h"

#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QProgressDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Drops `urls` onto `window` the way a file manager does: enter, move, drop.
inline void dropUrls(QWidget& window, const QList<QUrl>& urls, Qt::DropActions actions = Qt::CopyAction)
{
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(50, 50);
    QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDragMoveEvent move(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

// The program's two photo-sheet forms on a test printer of known metrics,
// with the settings store in a temporary folder and error messages collected
// instead of shown.
class AppTest : public ::testing::Test {
protected:
    // 8 x 11 in. at 300 dpi: the 413 x 531 cell fits 5 x 6 times.
    static constexpr int kPageWidth = 2400;
    static constexpr int kPageHeight = 3300;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QCoreApplication::setApplicationName(QStringLiteral("Quorlo"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("user")));
        qputenv("QRL_SYSTEM_CONFIG_DIR", QFile::encodeName(dir.filePath("machine")));
        auto device = std::make_unique<TTestPrinter>(kPageWidth, kPageHeight, 300, 300);
        printer = device.get();
        previousPrinter = SetPrinter(std::move(device));
        previousDisplay = SetErrorDisplay(
            [this](QWidget*, const QString& message) { errors << message; });

        // Every test starts the program as a new process would: its main
        // window's first show is the first activation.
        TApplicationEvents::ForgetActivation();
        main = std::make_unique<TMainDlg>();
        preview = std::make_unique<Tpreviewdlg>(main.get());
        main->SetPreviewDialog(preview.get());
    }

    void TearDown() override
    {
        preview.reset();
        main.reset();
        SetErrorDisplay(std::move(previousDisplay));
        SetPrinter(std::move(previousPrinter));
    }

    // Shows the main window and lets its first activation run.
    void start()
    {
        main->show();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    // A JPEG photo of w x h in one colour, written where the test says.
    QString writePhoto(const QString& name, int w, int h, QColor colour = QColor(40, 90, 160))
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "JPEG", 95));
        return path;
    }

    // Runs `action` on the next modal dialog, from inside its own event loop.
    // The progress shown during long work is not one the user answers. The
    // timer goes with the main window when no dialog ever opens.
    void onNextModal(std::function<void(QDialog&)> action)
    {
        auto* timer = new QTimer(main.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [timer, action] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && !qobject_cast<QProgressDialog*>(dialog)) {
                timer->stop();
                timer->deleteLater();
                action(*dialog);
            }
        });
        timer->start();
    }

    QTemporaryDir dir;
    TTestPrinter* printer = nullptr;
    std::unique_ptr<TPrinterDevice> previousPrinter;
    TErrorDisplay previousDisplay;
    QStringList errors;
    std::unique_ptr<TMainDlg> main;
    std::unique_ptr<Tpreviewdlg> preview;
};

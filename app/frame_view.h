#pragma once

#include "frame.h"
#include "frame_editor.h"
#include "plain_background.h"

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QWidget>

#include <optional>
#include <vector>

class QKeyEvent;
class QPainter;

class TBitmap32;

/// The framing window's picture: the photo large, the frame as the cell's
/// outline with everything outside it dimmed, and the rule's guide bands
/// inside it (crown, chin and, where the rule has one, the eye line). A drag
/// or the arrow keys move the frame (an arrow moves it one screen pixel,
/// with Shift ten), the wheel or + and - zoom it; all go to the editor and
/// are announced by Changed. Over the photo it draws the measured head (its
/// crown, chin and eye line) and outlines the other faces found. The crown
/// and chin lines can be dragged (or moved with Ctrl and Alt and the arrows,
/// as the editor says); a note beside the crown line says when it was
/// estimated.
class TFrameView : public QWidget {
    Q_OBJECT

public:
    explicit TFrameView(QWidget* parent = nullptr);

    /// Shows Photo edited by Editor; both outlive the view's use of them.
    /// Call again after the photo changed (turned).
    void SetPhoto(const TBitmap32* Photo, TFrameEditor* Editor);

    /// The head measured on the photo, and the boxes of the other faces
    /// found, in photo pixels; none to draw nothing.
    void SetFaces(const std::optional<THead>& Head, const std::vector<QRectF>& OtherFaces);

    /// A sentence to show beside the crown line; empty for none.
    void SetCrownNote(const QString& Note);

    /// A plain background to show behind the person, as the print run puts
    /// it there; none: the photo's own.
    void SetBackground(const std::optional<TPlainBackground>& Background);

    /// A key of the frame's (arrows, + and -) pressed anywhere in the
    /// window; false when it is none of them.
    bool PressKey(const QKeyEvent& Event);

    /// Where photo pixel (x, y) lands in the widget.
    QPointF ToView(double X, double Y) const;
    /// Widget pixels per photo pixel.
    double ViewScale() const { return FScale; }

    /// The guide bands' colours, for the window's key to them.
    static QColor CrownBandColour();
    static QColor ChinBandColour();
    static QColor EyeBandColour();
    /// The colour of the other faces' boxes.
    static QColor OtherFaceColour();

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layoutPhoto();

    void paintFaces(QPainter& painter) const;
    void paintNote(QPainter& painter, QPointF LineStart) const;
    /// The head as drawn: the editor's, which carries the user's lines.
    std::optional<THead> shownHead() const;
    /// The head's line within grabbing distance of a widget point, if any.
    std::optional<TFrameEditor::TLine> lineAt(QPointF At) const;

    const TBitmap32* FPhoto = nullptr;
    std::optional<THead> FHead;
    std::vector<QRectF> FOtherFaces;
    QString FCrownNote;
    TFrameEditor* FEditor = nullptr;
    QImage FScaled;          // the photo at view size, made once per size and background
    std::optional<TPlainBackground> FBackground;
    double FScale = 1;
    QPointF FOrigin;         // where photo pixel (0, 0) lands
    QPoint FDragFrom;
    bool FDragging = false;
    std::optional<TFrameEditor::TLine> FDraggedLine;
};

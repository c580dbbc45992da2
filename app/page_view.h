#pragma once

#include <QWidget>

class TBitmap32;

/// The preview's page: a page buffer shown at a scale (screen pixels per
/// page pixel), as large as that makes it, for a scroll area to hold. Only
/// the part on screen is scaled when it paints.
class TPageView : public QWidget {
    Q_OBJECT

public:
    explicit TPageView(QWidget* parent = nullptr);

    /// Shows Page, which outlives the view's use of it; null shows nothing.
    /// Call Changed after its pixels or size change.
    void SetPage(const TBitmap32* Page);
    void Changed();
    void SetScale(double Scale);
    double Scale() const { return FScale; }
    QSize sizeHint() const override;

signals:
    /// Ctrl and the wheel: Steps notches in (positive) or out.
    void ZoomAsked(int Steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const TBitmap32* FPage = nullptr;
    double FScale = 1;
};

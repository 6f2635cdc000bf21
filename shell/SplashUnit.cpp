#include "shell/SplashUnit.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <string>

#include "foundation/TextUtils.h"

namespace sarnova {

namespace {

// Half-sections of a hull, from midship towards the bow, as a body plan shows them; Keel is the
// lowest point and Scale 1 makes the midship section 100 wide and 120 high.
void DrawBodyPlan(QPainter& Painter, QPointF Keel, double Scale) {
    for (int I = 0; I < 7; ++I) {
        const double Beam = (100 - I * 13.0) * Scale;
        const double Bilge = 0.85 - I * 0.1;
        QPainterPath Section(Keel);
        Section.cubicTo(Keel + QPointF(Beam * Bilge, 0), Keel + QPointF(Beam, -40 * Scale * Bilge),
                        Keel + QPointF(Beam + 4 * Scale, -120 * Scale));
        Painter.drawPath(Section);
    }
}

}  // namespace

QPixmap SplashPicture() {
    const QSize Size(420, 240);
    QPixmap Picture(Size);
    QPainter Painter(&Picture);
    Painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient Sky(0, 0, 0, Size.height());
    Sky.setColorAt(0, QColor(18, 42, 82));
    Sky.setColorAt(1, QColor(6, 16, 34));
    Painter.fillRect(Picture.rect(), Sky);

    Painter.setPen(QPen(QColor(120, 180, 230), 1.2));
    DrawBodyPlan(Painter, QPointF(300, 200), 1.0);
    Painter.setPen(QPen(QColor(90, 140, 190), 1));
    Painter.drawLine(QPointF(250, 110), QPointF(410, 110));

    Painter.setPen(Qt::white);
    QFont Title("Arial", 34, QFont::Bold);
    Painter.setFont(Title);
    Painter.drawText(QRect(24, 40, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, "Sarnova");
    QFont Small("Arial", 10);
    Painter.setFont(Small);
    std::string Version;
    GetVersionInfoValue(2, Version);
    Painter.drawText(QRect(26, 100, 300, 20), Qt::AlignLeft, "Hull design for naval architects");
    Painter.drawText(QRect(26, 200, 300, 20), Qt::AlignLeft, QString::fromStdString("Version " + Version));
    return Picture;
}

QPixmap DocumentAreaPicture() {
    QPixmap Picture(120, 80);
    Picture.fill(QColor(128, 140, 156));
    QPainter Painter(&Picture);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(QColor(140, 153, 170), 1));
    DrawBodyPlan(Painter, QPointF(40, 68), 0.45);
    return Picture;
}

TSplashForm::TSplashForm(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("SplashForm");
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(SplashPicture());
    Image1->adjustSize();
    setFixedSize(Image1->size());
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
        move(Screen->geometry().center() - rect().center());
}

}  // namespace sarnova

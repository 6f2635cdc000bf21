#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QString>

namespace sarnova {

std::string TQtClipboard::GetText() const { return QApplication::clipboard()->text().toStdString(); }

void TQtClipboard::SetText(const std::string& Text) {
    QApplication::clipboard()->setText(QString::fromStdString(Text));
}

bool TQtClipboard::HasText() const {
    const QMimeData* Data = QApplication::clipboard()->mimeData();
    return Data != nullptr && Data->hasText();
}

}  // namespace sarnova

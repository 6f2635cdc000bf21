#include "controls/VkHelpPanel.h"

#include <QEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

#include "foundation/Console.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

TVkHelpPanel::TVkHelpPanel(QWidget* Parent) : QWidget(Parent) {
    auto* Fill = new QVBoxLayout(this);
    Fill->setContentsMargins(0, 0, 0, 0);
}

TVkHelpPanel::~TVkHelpPanel() { CloseViewer(); }

void TVkHelpPanel::SetFileName(const std::string& Value) {
    FileName = Value;
    if (Embedded) DisplayFile();
}

void TVkHelpPanel::ShowViewer() {
    if (Embedded || !isEnabled()) return;
    std::error_code Ignored;
    if (!std::filesystem::is_regular_file(std::filesystem::path(FileName), Ignored)) {
        LastError = "Help file not found " + FileName;
        if (GExceptionHandler && GExceptionHandler->UserDialogs)
            GExceptionHandler->UserDialogs->MessageBox("Error", LastError, TMsgDlgType::mtError, mbOK);
        return;
    }
    // The layout keeps the viewer the size of the panel.
    FViewer = new QTextBrowser(this);
    FViewer->setObjectName("HelpViewer");
    FViewer->setOpenExternalLinks(true);
    layout()->addWidget(FViewer);
    Embedded = true;
    DisplayFile();
}

void TVkHelpPanel::DisplayFile() {
    if (!Embedded) return;
    FViewer->setSource(QUrl::fromLocalFile(QString::fromStdString(FileName)));
}

void TVkHelpPanel::CloseViewer() {
    if (!Embedded) return;
    delete FViewer;
    FViewer = nullptr;
    Embedded = false;
}

void TVkHelpPanel::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    if (isEnabled() && !Embedded) ShowViewer();
}

void TVkHelpPanel::hideEvent(QHideEvent* Event) {
    QWidget::hideEvent(Event);
    if (Embedded) CloseViewer();
}

void TVkHelpPanel::changeEvent(QEvent* Event) {
    QWidget::changeEvent(Event);
    if (Event->type() != QEvent::EnabledChange) return;
    if (!isEnabled())
        CloseViewer();
    else
        ShowViewer();
}

}  // namespace sarnova

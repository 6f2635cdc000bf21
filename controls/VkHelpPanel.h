// A panel that shows the program's help pages inside itself: it embeds an HTML viewer while it is shown
// and enabled, keeps it sized to the panel, and lets it go when hidden, disabled or freed.
#pragma once
#include <QWidget>

#include <string>

class QTextBrowser;

namespace sarnova {

class TVkHelpPanel : public QWidget {
    Q_OBJECT
public:
    explicit TVkHelpPanel(QWidget* Parent = nullptr);
    // Closes the viewer.
    ~TVkHelpPanel() override;

    // The help page to show. A new name is shown at once while the viewer is embedded.
    const std::string& GetFileName() const { return FileName; }
    void SetFileName(const std::string& Value);

    // Embeds the viewer and shows the page; nothing while embedded or disabled. A page that does not
    // exist is reported ("Help file not found " + the name) in an error box, and the panel stays empty.
    void ShowViewer();
    // Takes the viewer out; nothing while not embedded.
    void CloseViewer();
    // The viewer shows the page; only while embedded.
    void DisplayFile();
    // The last error text; empty while none happened.
    const std::string& LastHelpError() const { return LastError; }

    bool IsEmbedded() const { return Embedded; }
    // The embedded viewer, none while not embedded.
    QTextBrowser* Viewer() const { return FViewer; }

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    std::string FileName;
    bool Embedded = false;
    QTextBrowser* FViewer = nullptr;
    std::string LastError;
};

}  // namespace sarnova

#pragma once

#include <QDialog>
#include <QHash>
#include <functional>

#include "ui/AppContext.h"

class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace zel {

class LookupTablePage;

// The setup dialog: one page per settings section and auxiliary file, each key in a
// control named after it, and the pages of the lookup archives. Its controls edit
// a copy; "Conferma\r\nSetup" writes every file and hands the values to the program.
class Tfrm_setup : public QDialog {
    Q_OBJECT
public:
    Tfrm_setup(AppContext& ctx, QWidget* parent = nullptr);

    // Called after a confirmed setup, so the running windows take the new values.
    std::function<void()> onApplied;

    void FormShow();
    bool btn_conferma_setupClick();
    void btn_ricostruzioneClick();
    void btn_aggiorna_annoClick();

    // Shows the page with this title ("System", "Banca", "Gruppi", ...).
    bool showPage(const QString& title);
    QStringList pageTitles() const;
    LookupTablePage* lookupPage(const QString& table) const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildUi();
    QWidget* buildSettingsPage(const QString& file, const QString& section);
    QWidget* buildToolsPage();
    void readControls(Settings& into) const;
    void writeControls(const Settings& from);

    AppContext& m_ctx;
    QListWidget* m_pages = nullptr;
    QStackedWidget* m_stack = nullptr;
    QHash<int, QWidget*> m_controls;  // catalogue index -> control
    QHash<QString, LookupTablePage*> m_lookups;
    QLineEdit* m_renumberFile = nullptr;
    QProgressBar* m_progress = nullptr;
};

}  // namespace zel

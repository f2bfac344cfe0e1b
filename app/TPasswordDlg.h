#pragma once

#include <QDialog>

#include "ui/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zel {

// The access password at start. Only the configured password opens the program.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(AppContext& ctx, QWidget* parent);

    static constexpr int kTries = 3;

    // Modal; true when the expected password was typed within the allowed tries.
    bool ask(const QString& expected);
    int failedTries() const { return m_failed; }

private:
    void buildUi();
    void OKBtnClick();

    QLineEdit* Password = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QLabel* lbl_esito = nullptr;
    QString m_expected;
    int m_failed = 0;
};

}  // namespace zel

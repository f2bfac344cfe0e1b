#include "app/TPasswordDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Dialogs.h"

namespace zel {

TPasswordDlg::TPasswordDlg(AppContext&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPasswordDlg"));
    buildUi();
}

void TPasswordDlg::buildUi() {
    setWindowTitle(QStringLiteral("Password"));
    setModal(true);
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Inserire la password:"), Password);
    lay->addLayout(form);
    lbl_esito = new QLabel(this);
    lbl_esito->setObjectName(QStringLiteral("lbl_esito"));
    lay->addWidget(lbl_esito);
    auto* box = new QDialogButtonBox(this);
    OKBtn = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = box->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    lay->addWidget(box);
    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TPasswordDlg::ask(const QString& expected) {
    m_expected = expected;
    m_failed = 0;
    Password->clear();
    lbl_esito->clear();
    Password->setFocus();
    return exec() == QDialog::Accepted;
}

void TPasswordDlg::OKBtnClick() {
    if (Password->text() == m_expected) {
        accept();
        return;
    }
    ++m_failed;
    Dialogs::instance().beep();
    Password->clear();
    if (m_failed >= kTries) {
        reject();
        return;
    }
    lbl_esito->setText(QStringLiteral("Password errata: tentativo %1 di %2").arg(m_failed).arg(kTries));
}

}  // namespace zel

#pragma once

#include <QDialog>
#include <QString>
#include <QVariantList>

#include "ui/AppContext.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace zel {

class SearchLineModel;

// The shared search dialog "Ricerca dati": one page per kind of search, no visible tabs.
// A caller chooses the page (directly or by a mode word), may pre-fill the search
// field, shows the dialog modally, then reads outcome() and, when it is 1, the found
// fields of that page. Fields, lists and the outcome keep their values between uses.
class Tfrm_cerca : public QDialog {
    Q_OBJECT
public:
    // Positions of the pages; 4 is not a page.
    enum class Page {
        ArticleByCode = 0,
        ArticleByDescription = 1,
        SupplierByName = 2,
        CustomerByName = 3,
        PostCode = 5,
        Bank = 6,
        PartnerByCode = 7,
    };

    struct Bank {
        QString abi, cab, name, branch, address, cap, town;
    };

    Tfrm_cerca(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_cerca() override;

    // Chooses the page by position; a position that is no page is ignored. A mode word
    // in edt_scheda wins over it until the word is replaced or cleared.
    void choosePage(int page);
    void choosePage(Page page) { choosePage(static_cast<int>(page)); }
    // Writes a mode word into edt_scheda: "codice", "descrizione", "fornitori",
    // "clienti", "cap", "abi", "cod_cli"; an empty or unknown word lets choosePage decide.
    void setMode(const QString& word);
    QString mode() const;
    // The page the dialog shows (or will show).
    int currentPage() const;
    // Puts a starting text into the current page's search field (the city on the
    // post-code page, the bank name on the bank page).
    void prefill(const QString& text);
    // Puts ABI and CAB into the bank page and starts the search by ABI and CAB.
    void prefillBank(const QString& abi, const QString& cab);

    // Shows the dialog modally; returns the outcome.
    int execModal();
    // 1 after "Conferma", 0 after "Annulla", "Uscita", Escape or the window frame.
    int outcome() const { return m_outcome; }

    // The found fields of the current page: pages 0, 1, 2, 3 and 7.
    QString foundCode() const;
    QString foundName() const;  // description on pages 0 and 1
    // Pages 0 and 1; the stock only on page 0.
    double foundPrice() const;
    double foundVat() const;
    double foundStock() const { return m_stock; }
    // Page 5.
    QString foundCap() const;
    QString foundPrefix() const;
    QString foundProvince() const;
    // Page 6.
    Bank foundBank() const;
    QString foundAbi() const { return foundBank().abi; }
    QString foundCab() const { return foundBank().cab; }

    // The main menu's stand-alone look-ups.
    void openPostcodeLookup();
    void openBankLookup();

    // Handlers, public so tests and callers can drive them like the buttons do.
    void FormShow();
    void btn_confermaClick();
    void btn_annullaClick();
    void btn_avvia_cittaClick();
    void btn_avvia_capClick();
    void btn_avvia_abiClick();
    void btn_avvia_nomeClick();

    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    struct ArticleFields {
        QLineEdit* code = nullptr;
        QLineEdit* description = nullptr;
        QLineEdit* price = nullptr;
        QLineEdit* vat = nullptr;
        QLabel* picture = nullptr;
        QCheckBox* showPicture = nullptr;
        QString picturePath;
        double priceValue = 0;
        double vatValue = 0;
    };

    void buildUi();
    QWidget* buildArticleByCodePage();
    QWidget* buildArticleByDescriptionPage();
    QWidget* buildNamePage(int page);
    QWidget* buildPostCodePage();
    QWidget* buildBankPage();
    QWidget* buildPartnerByCodePage();
    QWidget* buttons(int page);
    QListView* newList(const QString& name, SearchLineModel** model);

    int resolvedPage() const;
    void applyPage();
    QString warehouse() const;
    QString registry() const;
    QString tablePath(const char16_t* file) const;
    // Runs a query on one archive; on failure shows the engine's error and returns false.
    bool query(const QString& sql, const QString& archive, const QVariantList& params, QList<QVariantList>* rows);
    // A query for a list: each of its columns as text, row for row.
    bool listQuery(const QString& sql, int columns, const QString& archive, const QVariantList& params,
                   QList<QStringList>* out);

    void searchArticleByCode();
    void searchArticleByDescription();
    void searchByName(int page);
    void searchPartnerByCode();
    void articleLineClicked(int page, const QString& line);
    void nameLineClicked(int page, const QString& name, bool byCode);
    void partnerLineClicked(const QString& name);
    void postCodeSearch(const QString& sql, const QVariantList& params);
    void postCodeLineClicked(const QString& line);
    void bankSearch(const QString& sql, const QVariantList& params);
    void bankLineDoubleClicked(const QString& abi, const QString& cab);
    void showPicture(ArticleFields& f);
    void setPicturePath(ArticleFields& f, const QString& path);

    AppContext& m_ctx;
    QStackedWidget* m_stack = nullptr;
    QLineEdit* m_mode = nullptr;  // edt_scheda
    int m_chosenPage = 0;
    int m_outcome = 0;

    // Page 0 and 1.
    QLineEdit* m_codeSearch = nullptr;
    QLineEdit* m_descriptionSearch = nullptr;
    SearchLineModel* m_codeLines = nullptr;
    SearchLineModel* m_descriptionLines = nullptr;
    ArticleFields m_byCode;
    ArticleFields m_byDescription;
    QLineEdit* m_stockField = nullptr;
    double m_stock = 0;

    // Pages 2 and 3, indexed by page - 2.
    struct NamePage {
        QLineEdit* search = nullptr;
        SearchLineModel* names = nullptr;
        SearchLineModel* codes = nullptr;
        QLineEdit* code = nullptr;
        QLineEdit* name = nullptr;
    };
    NamePage m_names[2];

    // Page 5.
    QLineEdit* m_city = nullptr;
    QLineEdit* m_capSearch = nullptr;
    QLineEdit* m_provSearch = nullptr;
    bool m_provTypedLast = false;
    SearchLineModel* m_capLines = nullptr;
    QWidget* m_capFound = nullptr;
    QLineEdit* m_cap = nullptr;
    QLineEdit* m_prefix = nullptr;
    QLineEdit* m_province = nullptr;

    // Page 6.
    QLineEdit* m_abi = nullptr;
    QLineEdit* m_cab = nullptr;
    QLineEdit* m_bankName = nullptr;
    QLineEdit* m_branch = nullptr;
    QLineEdit* m_bankCap = nullptr;
    QLineEdit* m_bankTown = nullptr;
    QPushButton* m_findByCodes = nullptr;
    QPushButton* m_findByName = nullptr;
    SearchLineModel* m_bankLines = nullptr;
    QLabel* m_found[7] = {};  // abi, cab, name, branch, address, cap, town

    // Page 7.
    QLineEdit* m_partnerCodeSearch = nullptr;
    SearchLineModel* m_partnerLines = nullptr;
    QLineEdit* m_partnerCode = nullptr;
    QLineEdit* m_partnerName = nullptr;
};

}  // namespace zel

#include "registry/Tfrm_cerca.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/Paths.h"
#include "registry/ReferenceData.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"

namespace zel {

using namespace Qt::Literals::StringLiterals;

// The lines of one result list, replaced whole at every search. A model instead of
// list items keeps a refill of 50,000 lines cheap. Each line may carry values of its
// own row (Qt::UserRole + n), so a click never has to parse them back from the text.
class SearchLineModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(QStringList lines, QList<QVariantList> payload = {}) {
        beginResetModel();
        m_lines = std::move(lines);
        m_payload = std::move(payload);
        endResetModel();
    }
    const QStringList& lines() const { return m_lines; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const qsizetype row = index.row();
        if (!index.isValid() || row >= m_lines.size()) return {};
        if (role == Qt::DisplayRole) return m_lines[row];
        const qsizetype k = role - Qt::UserRole;
        if (k >= 0 && row < m_payload.size() && k < m_payload[row].size()) return m_payload[row][k];
        return {};
    }

private:
    QStringList m_lines;
    QList<QVariantList> m_payload;
};

namespace {

constexpr int kPageCount = 8;

bool isPage(int page) { return page >= 0 && page < kPageCount && page != 4; }

// The typed text matched anywhere and literally: "%" and "_" lose their meaning.
QString containsPattern(const QString& typed) { return u'%' + Store::likeLiteral(typed) + u'%'; }

// Typed ASCII as a GLOB pattern matching it anywhere, each letter in either case; the
// characters that fold to an ASCII letter on their own (Kelvin sign, long s) are in
// the class too. Empty when the text holds anything else.
QString asciiGlob(const QString& typed) {
    QString glob = u"*"_s;
    for (const QChar c : typed) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u < 0x20) return {};
        if (c.isLetter()) {
            glob += u'[' + c.toLower() + c.toUpper();
            if (u == u'k' || u == u'K') glob += QChar(0x212a);
            if (u == u's' || u == u'S') glob += QChar(0x17f);
            glob += u']';
        } else if (u == u'*' || u == u'?' || u == u'[') {
            glob += u'[' + c + u']';
        } else {
            glob += c;
        }
    }
    return glob + u'*';
}

// "column matches the typed text anywhere, ignoring case". An empty text means any
// value; ASCII text goes through the engine's own GLOB, several times cheaper per row
// than the Unicode LIKE, which serves every other text.
QString containsCondition(const QString& column, const QString& typed, QVariantList* params) {
    if (typed.isEmpty()) return column + u" IS NOT NULL"_s;
    const QString glob = asciiGlob(typed);
    if (!glob.isEmpty()) {
        params->append(glob);
        return column + u" GLOB ?"_s;
    }
    params->append(containsPattern(typed.toUpper()));
    return column + u" LIKE ? ESCAPE '\\'"_s;
}

QString text(const QVariant& v) { return v.toString().trimmed(); }

QString codeBefore(const QString& line) {
    const qsizetype cut = line.indexOf(u" - "_s);
    return cut < 0 ? line : line.left(cut);
}

QLineEdit* edit(const QString& name, QWidget* parent, bool readOnly = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    return e;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(Dialogs::displayText(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);  // Enter in a search field must not close the dialog
    return b;
}

QLabel* caption(const QString& textCaption, QWidget* parent) {
    return new QLabel(Dialogs::displayText(textCaption), parent);
}

// Caption and field side by side, one pair per row from firstRow on.
void addLabelledRows(QGridLayout* grid, QWidget* owner, std::initializer_list<std::pair<QString, QWidget*>> rows,
                     int firstRow = 0) {
    int r = firstRow;
    for (const auto& [text, field] : rows) {
        grid->addWidget(caption(text, owner), r, 0);
        grid->addWidget(field, r++, 1);
    }
}

}  // namespace

Tfrm_cerca::Tfrm_cerca(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(u"Tfrm_cerca"_s);
    setWindowTitle(u"Ricerca dati"_s);
    setModal(true);
    buildUi();
}

Tfrm_cerca::~Tfrm_cerca() = default;

QListView* Tfrm_cerca::newList(const QString& name, SearchLineModel** model) {
    auto* view = new QListView(this);
    view->setObjectName(name);
    view->setUniformItemSizes(true);  // no per-line measuring when 50,000 lines arrive
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    *model = new SearchLineModel(view);
    view->setModel(*model);
    return view;
}

void Tfrm_cerca::buildUi() {
    auto* layout = new QVBoxLayout(this);
    m_mode = edit(u"edt_scheda"_s, this);
    m_mode->setVisible(false);
    connect(m_mode, &QLineEdit::textChanged, this, [this] { applyPage(); });

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(u"PageControl1"_s);
    m_stack->addWidget(buildArticleByCodePage());
    m_stack->addWidget(buildArticleByDescriptionPage());
    m_stack->addWidget(buildNamePage(2));
    m_stack->addWidget(buildNamePage(3));
    m_stack->addWidget(new QWidget(this));  // position 4 holds no page
    m_stack->addWidget(buildPostCodePage());
    m_stack->addWidget(buildBankPage());
    m_stack->addWidget(buildPartnerByCodePage());
    layout->addWidget(m_stack);
    resize(720, 520);
}

QWidget* Tfrm_cerca::buttons(int page) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addStretch();
    if (page == 5 || page == 6) {
        QPushButton* exit = button(u"btn_uscita%1"_s.arg(page), u"Uscita"_s, row);
        connect(exit, &QPushButton::clicked, this, &Tfrm_cerca::btn_annullaClick);
        h->addWidget(exit);
        return row;
    }
    QPushButton* confirm = button(u"btn_conferma%1"_s.arg(page), u"Conferma"_s, row);
    QPushButton* cancel = button(u"btn_annulla%1"_s.arg(page), u"Annulla"_s, row);
    connect(confirm, &QPushButton::clicked, this, &Tfrm_cerca::btn_confermaClick);
    connect(cancel, &QPushButton::clicked, this, &Tfrm_cerca::btn_annullaClick);
    h->addWidget(confirm);
    h->addWidget(cancel);
    return row;
}

QWidget* Tfrm_cerca::buildArticleByCodePage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    m_codeSearch = edit(u"Edit_cod"_s, page);
    grid->addWidget(caption(u"Codice articolo"_s, page), 0, 0);
    grid->addWidget(m_codeSearch, 0, 1);
    QListView* list = newList(u"memo_cod"_s, &m_codeLines);
    grid->addWidget(list, 1, 0, 1, 2);

    auto* found = new QGroupBox(page);
    auto* form = new QGridLayout(found);
    m_byCode.code = edit(u"edt_result"_s, found, true);
    m_byCode.description = edit(u"edt_des1"_s, found, true);
    m_byCode.price = edit(u"edt_prezzo_unitario"_s, found, true);
    m_byCode.vat = edit(u"edt_iva"_s, found, true);
    m_stockField = edit(u"vr_giac_art"_s, found, true);
    addLabelledRows(form, found,
                    {
                        {u"Codice trovato"_s, m_byCode.code},
                        {u"Descrizione trovata"_s, m_byCode.description},
                        {u"Prezzo unit. IVA escl."_s, m_byCode.price},
                        {u"IVA"_s, m_byCode.vat},
                        {u"Giacenza"_s, m_stockField},
                    });
    grid->addWidget(found, 2, 0, 1, 2);

    m_byCode.showPicture = new QCheckBox(u"Vedi foto"_s, page);
    m_byCode.showPicture->setObjectName(u"chk_vedi_foto"_s);
    m_byCode.picture = new QLabel(page);
    m_byCode.picture->setObjectName(u"img_foto"_s);
    m_byCode.picture->setFixedSize(200, 150);
    m_byCode.picture->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_byCode.showPicture, 0, 2);
    grid->addWidget(m_byCode.picture, 1, 2, 2, 1, Qt::AlignTop);
    setPicturePath(m_byCode, {});
    grid->addWidget(buttons(0), 3, 0, 1, 3);

    connect(m_codeSearch, &QLineEdit::textChanged, this, [this] { searchArticleByCode(); });
    connect(list, &QListView::clicked, this,
            [this](const QModelIndex& i) { articleLineClicked(0, i.data().toString()); });
    connect(m_byCode.showPicture, &QCheckBox::toggled, this, [this] { showPicture(m_byCode); });
    return page;
}

QWidget* Tfrm_cerca::buildArticleByDescriptionPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    m_descriptionSearch = edit(u"Edit_cod2"_s, page);
    grid->addWidget(caption(u"Descrizione articolo"_s, page), 0, 0);
    grid->addWidget(m_descriptionSearch, 0, 1);
    QListView* list = newList(u"memo_des"_s, &m_descriptionLines);
    grid->addWidget(list, 1, 0, 1, 2);

    auto* found = new QGroupBox(page);
    auto* form = new QGridLayout(found);
    m_byDescription.code = edit(u"edt_result2"_s, found, true);
    m_byDescription.description = edit(u"edt_des2"_s, found, true);
    m_byDescription.price = edit(u"edt_prezzo_unitario2"_s, found, true);
    m_byDescription.vat = edit(u"edt_iva2"_s, found, true);
    addLabelledRows(form, found,
                    {
                        {u"Codice trovato"_s, m_byDescription.code},
                        {u"Descrizione trovata"_s, m_byDescription.description},
                        {u"Prezzo unitario IVA esclusa"_s, m_byDescription.price},
                        {u"IVA"_s, m_byDescription.vat},
                    });
    grid->addWidget(found, 2, 0, 1, 2);

    m_byDescription.showPicture = new QCheckBox(u"Vedi foto"_s, page);
    m_byDescription.showPicture->setObjectName(u"chk_vedi_foto2"_s);
    m_byDescription.picture = new QLabel(page);
    m_byDescription.picture->setObjectName(u"img_foto2"_s);
    m_byDescription.picture->setFixedSize(200, 150);
    m_byDescription.picture->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_byDescription.showPicture, 0, 2);
    grid->addWidget(m_byDescription.picture, 1, 2, 2, 1, Qt::AlignTop);
    setPicturePath(m_byDescription, {});
    grid->addWidget(buttons(1), 3, 0, 1, 3);

    connect(m_descriptionSearch, &QLineEdit::textChanged, this, [this] { searchArticleByDescription(); });
    connect(list, &QListView::clicked, this,
            [this](const QModelIndex& i) { articleLineClicked(1, i.data().toString()); });
    connect(m_byDescription.showPicture, &QCheckBox::toggled, this, [this] { showPicture(m_byDescription); });
    return page;
}

QWidget* Tfrm_cerca::buildNamePage(int pageNumber) {
    const bool suppliers = pageNumber == 2;
    NamePage& p = m_names[pageNumber - 2];
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    p.search = edit(suppliers ? u"edt_cerca_cod_forn"_s : u"edt_cerca_cod_cli"_s, page);
    grid->addWidget(caption(suppliers ? u"Nome fornitore"_s : u"Nome cliente"_s, page), 0, 0);
    grid->addWidget(p.search, 0, 1, 1, 2);
    QListView* names = newList(suppliers ? u"memo_nomi_forn"_s : u"memo_nomi_cli"_s, &p.names);
    QListView* codes = newList(suppliers ? u"memo_codici_forn"_s : u"memo_codici_cli"_s, &p.codes);
    grid->addWidget(names, 1, 0, 1, 2);
    grid->addWidget(codes, 1, 2);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    // The two lists are one table row for row, so they scroll together.
    connect(names->verticalScrollBar(), &QScrollBar::valueChanged, codes->verticalScrollBar(), &QScrollBar::setValue);
    connect(codes->verticalScrollBar(), &QScrollBar::valueChanged, names->verticalScrollBar(), &QScrollBar::setValue);

    auto* found = new QGroupBox(page);
    auto* form = new QGridLayout(found);
    p.code = edit(suppliers ? u"edt_cod_forn"_s : u"edt_cod_cli"_s, found, true);
    p.name = edit(suppliers ? u"edt_nome_fornitore"_s : u"edt_nome"_s, found, true);
    addLabelledRows(form, found,
                    {
                        {u"Codice trovato"_s, p.code},
                        {u"Nome trovato"_s, p.name},
                    });
    grid->addWidget(found, 2, 0, 1, 3);
    grid->addWidget(buttons(pageNumber), 3, 0, 1, 3);

    connect(p.search, &QLineEdit::textChanged, this, [this, pageNumber] { searchByName(pageNumber); });
    connect(names, &QListView::clicked, this,
            [this, pageNumber](const QModelIndex& i) { nameLineClicked(pageNumber, i.data().toString(), false); });
    connect(codes, &QListView::clicked, this,
            [this, pageNumber](const QModelIndex& i) { nameLineClicked(pageNumber, i.data().toString(), true); });
    return page;
}

QWidget* Tfrm_cerca::buildPostCodePage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);

    auto* byCity = new QGroupBox(u"Trova il C.A.P. - Prefisso - Prov"_s, page);
    auto* cityGrid = new QGridLayout(byCity);
    m_city = edit(u"edt_trova_citta"_s, byCity);
    QPushButton* cityGo = button(u"btn_avvia_citta"_s, u"Avvia"_s, byCity);
    cityGrid->addWidget(caption(u"Inserire Città"_s, byCity), 0, 0);
    cityGrid->addWidget(m_city, 0, 1);
    cityGrid->addWidget(cityGo, 0, 2);
    grid->addWidget(byCity, 0, 0);

    auto* byCap = new QGroupBox(u"Trova la Città"_s, page);
    auto* capGrid = new QGridLayout(byCap);
    m_capSearch = edit(u"edt_trova_cap"_s, byCap);
    m_provSearch = edit(u"edt_trova_prov"_s, byCap);
    QPushButton* capGo = button(u"btn_avvia_cap"_s, u"Avvia"_s, byCap);
    addLabelledRows(capGrid, byCap,
                    {
                        {u"C.A.P."_s, m_capSearch},
                        {u"Provincia"_s, m_provSearch},
                    });
    capGrid->addWidget(capGo, 0, 2, 2, 1);
    grid->addWidget(byCap, 0, 1);

    grid->addWidget(newList(u"memo_cap"_s, &m_capLines), 1, 0, 1, 2);

    m_capFound = new QGroupBox(page);
    m_capFound->setObjectName(u"pnl_trovato"_s);
    auto* form = new QGridLayout(m_capFound);
    m_cap = edit(u"edt_cap"_s, m_capFound, true);
    m_province = edit(u"edt_provincia"_s, m_capFound, true);
    m_prefix = edit(u"edt_prefisso"_s, m_capFound, true);
    addLabelledRows(form, m_capFound,
                    {
                        {u"C.A.P."_s, m_cap},
                        {u"Provincia"_s, m_province},
                        {u"Prefisso telefon."_s, m_prefix},
                    });
    m_capFound->setVisible(false);
    grid->addWidget(m_capFound, 2, 0, 1, 2);
    grid->addWidget(buttons(5), 3, 0, 1, 2);

    connect(cityGo, &QPushButton::clicked, this, &Tfrm_cerca::btn_avvia_cittaClick);
    connect(m_city, &QLineEdit::returnPressed, this, &Tfrm_cerca::btn_avvia_cittaClick);
    connect(capGo, &QPushButton::clicked, this, &Tfrm_cerca::btn_avvia_capClick);
    connect(m_capSearch, &QLineEdit::returnPressed, this, &Tfrm_cerca::btn_avvia_capClick);
    connect(m_provSearch, &QLineEdit::returnPressed, this, &Tfrm_cerca::btn_avvia_capClick);
    connect(m_city, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t.isEmpty()) m_capFound->setVisible(false);
    });
    connect(m_capSearch, &QLineEdit::textChanged, this, [this] { m_provTypedLast = false; });
    connect(m_provSearch, &QLineEdit::textChanged, this, [this] { m_provTypedLast = true; });
    connect(findChild<QListView*>(u"memo_cap"_s), &QListView::clicked, this,
            [this](const QModelIndex& i) { postCodeLineClicked(i.data().toString()); });
    return page;
}

QWidget* Tfrm_cerca::buildBankPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);

    auto* byCodes = new QGroupBox(page);
    auto* codesGrid = new QGridLayout(byCodes);
    m_abi = edit(u"edt_abi"_s, byCodes);
    m_cab = edit(u"edt_cab"_s, byCodes);
    m_findByCodes = button(u"btn_avvia_abi"_s, u"Avvia"_s, byCodes);
    codesGrid->addWidget(caption(u"Trova la Banca partendo\r\nda ABI e CAB"_s, byCodes), 0, 0, 1, 3);
    addLabelledRows(codesGrid, byCodes,
                    {
                        {u"ABI"_s, m_abi},
                        {u"CAB"_s, m_cab},
                    }, 1);
    codesGrid->addWidget(m_findByCodes, 1, 2, 2, 1);
    grid->addWidget(byCodes, 0, 0);

    auto* byName = new QGroupBox(page);
    auto* nameGrid = new QGridLayout(byName);
    m_bankName = edit(u"edt_banca"_s, byName);
    m_branch = edit(u"edt_sportello"_s, byName);
    m_bankCap = edit(u"edt_cap_banca"_s, byName);
    m_bankTown = edit(u"edt_comune_banca"_s, byName);
    m_findByName = button(u"btn_avvia_nome"_s, u"Avvia"_s, byName);
    nameGrid->addWidget(caption(u"Trova ABI e CAB dal nome"_s, byName), 0, 0, 1, 3);
    const std::pair<const char16_t*, QLineEdit*> boxes[] = {
        {u"Nome banca", m_bankName}, {u"Sportello", m_branch}, {u"C.A.P.", m_bankCap}, {u"Comune", m_bankTown}};
    int row = 1;
    for (const auto& [label, box] : boxes) {
        nameGrid->addWidget(caption(QString::fromUtf16(label), byName), row, 0);
        nameGrid->addWidget(box, row++, 1);
    }
    nameGrid->addWidget(m_findByName, 1, 2, 4, 1);
    grid->addWidget(byName, 0, 1);

    QListView* list = newList(u"memo_banche"_s, &m_bankLines);
    grid->addWidget(list, 1, 0, 1, 2);

    auto* found = new QGroupBox(page);
    auto* form = new QGridLayout(found);
    const std::pair<const char16_t*, const char16_t*> labels[] = {
        {u"lbl_abi", u"ABI"},        {u"lbl_cab", u"CAB"}, {u"lbl_nome_banca", u"Banca"},
        {u"lbl_filiale_banca", u"Filiale"}, {u"lbl_via", u"Indirizzo"}, {u"lbl_cap", u"C.A.P."},
        {u"lbl_comune", u"Comune"}};
    row = 0;
    for (const auto& [name, label] : labels) {
        auto* value = new QLabel(found);
        value->setObjectName(QString::fromUtf16(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addWidget(caption(QString::fromUtf16(label), found), row, 0);
        form->addWidget(value, row, 1);
        m_found[row++] = value;
    }
    grid->addWidget(found, 2, 0, 1, 2);
    grid->addWidget(buttons(6), 3, 0, 1, 2);

    connect(m_findByCodes, &QPushButton::clicked, this, &Tfrm_cerca::btn_avvia_abiClick);
    connect(m_findByName, &QPushButton::clicked, this, &Tfrm_cerca::btn_avvia_nomeClick);
    connect(list, &QListView::doubleClicked, this, [this](const QModelIndex& i) {
        bankLineDoubleClicked(i.data(Qt::UserRole).toString(), i.data(Qt::UserRole + 1).toString());
    });
    return page;
}

QWidget* Tfrm_cerca::buildPartnerByCodePage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    m_partnerCodeSearch = edit(u"Edit_cod_cli"_s, page);
    grid->addWidget(caption(u"Codice"_s, page), 0, 0);
    grid->addWidget(m_partnerCodeSearch, 0, 1);
    QListView* list = newList(u"memo_nomi_cod_cli"_s, &m_partnerLines);
    grid->addWidget(list, 1, 0, 1, 2);

    auto* found = new QGroupBox(page);
    auto* form = new QGridLayout(found);
    m_partnerCode = edit(u"Edit_cod_cli_trovato"_s, found, true);
    m_partnerName = edit(u"Edit_nome_cli_trovato"_s, found, true);
    addLabelledRows(form, found,
                    {
                        {u"Codice trovato"_s, m_partnerCode},
                        {u"Nome trovato"_s, m_partnerName},
                    });
    grid->addWidget(found, 2, 0, 1, 2);
    grid->addWidget(buttons(7), 3, 0, 1, 2);

    connect(m_partnerCodeSearch, &QLineEdit::textChanged, this, [this] { searchPartnerByCode(); });
    connect(list, &QListView::clicked, this, [this](const QModelIndex& i) { partnerLineClicked(i.data().toString()); });
    return page;
}

// --- calling protocol -------------------------------------------------------------

int Tfrm_cerca::resolvedPage() const {
    static const std::pair<const char16_t*, int> words[] = {
        {u"codice", 0}, {u"descrizione", 1}, {u"fornitori", 2}, {u"clienti", 3},
        {u"cap", 5},    {u"abi", 6},         {u"cod_cli", 7}};
    const QString word = m_mode->text();
    for (const auto& [w, page] : words)
        if (word == QStringView(w)) return page;
    return m_chosenPage;
}

void Tfrm_cerca::applyPage() { m_stack->setCurrentIndex(resolvedPage()); }

void Tfrm_cerca::choosePage(int page) {
    if (!isPage(page)) return;
    m_chosenPage = page;
    applyPage();
}

void Tfrm_cerca::setMode(const QString& word) { m_mode->setText(word); }

QString Tfrm_cerca::mode() const { return m_mode->text(); }

int Tfrm_cerca::currentPage() const { return m_stack->currentIndex(); }

void Tfrm_cerca::prefill(const QString& typed) {
    switch (currentPage()) {
        case 0: m_codeSearch->setText(typed); break;
        case 1: m_descriptionSearch->setText(typed); break;
        case 2:
        case 3: m_names[currentPage() - 2].search->setText(typed); break;
        case 5: m_city->setText(typed); break;
        case 6: m_bankName->setText(typed); break;
        case 7: m_partnerCodeSearch->setText(typed); break;
        default: break;
    }
}

void Tfrm_cerca::prefillBank(const QString& abi, const QString& cab) {
    m_abi->setText(abi);
    m_cab->setText(cab);
    btn_avvia_abiClick();
}

int Tfrm_cerca::execModal() {
    exec();
    return m_outcome;
}

void Tfrm_cerca::openPostcodeLookup() {
    setMode(u"cap"_s);
    execModal();
}

void Tfrm_cerca::openBankLookup() {
    setMode(u"abi"_s);
    execModal();
}

void Tfrm_cerca::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void Tfrm_cerca::FormShow() {
    applyPage();
    switch (currentPage()) {
        case 0:
            m_codeSearch->setFocus();
            searchArticleByCode();
            break;
        case 1:
            m_descriptionSearch->setFocus();
            searchArticleByDescription();
            break;
        case 2:
        case 3:
            m_names[currentPage() - 2].search->setFocus();
            searchByName(currentPage());
            break;
        case 5: m_city->setFocus(); break;
        case 6: {
            const bool present = QFileInfo::exists(tablePath(kBankTable));
            m_findByCodes->setEnabled(present);
            m_findByName->setEnabled(present);
            m_abi->setFocus();
            break;
        }
        case 7: m_partnerCodeSearch->setFocus(); break;
        default: break;
    }
}

void Tfrm_cerca::btn_confermaClick() {
    m_outcome = 1;
    accept();
}

void Tfrm_cerca::btn_annullaClick() {
    m_outcome = 0;
    QDialog::reject();
}

// Escape and the window frame end here too: a close without "Conferma" is a cancel,
// whatever an earlier use of the dialog left in the flag.
void Tfrm_cerca::reject() { btn_annullaClick(); }

// --- found fields -----------------------------------------------------------------

QString Tfrm_cerca::foundCode() const {
    switch (currentPage()) {
        case 0: return m_byCode.code->text();
        case 1: return m_byDescription.code->text();
        case 2:
        case 3: return m_names[currentPage() - 2].code->text();
        case 7: return m_partnerCode->text();
        default: return {};
    }
}

QString Tfrm_cerca::foundName() const {
    switch (currentPage()) {
        case 0: return m_byCode.description->text();
        case 1: return m_byDescription.description->text();
        case 2:
        case 3: return m_names[currentPage() - 2].name->text();
        case 7: return m_partnerName->text();
        default: return {};
    }
}

double Tfrm_cerca::foundPrice() const {
    return currentPage() == 1 ? m_byDescription.priceValue : m_byCode.priceValue;
}

double Tfrm_cerca::foundVat() const { return currentPage() == 1 ? m_byDescription.vatValue : m_byCode.vatValue; }

QString Tfrm_cerca::foundCap() const { return m_cap->text(); }
QString Tfrm_cerca::foundPrefix() const { return m_prefix->text(); }
QString Tfrm_cerca::foundProvince() const { return m_province->text(); }

Tfrm_cerca::Bank Tfrm_cerca::foundBank() const {
    return {m_found[0]->text(), m_found[1]->text(), m_found[2]->text(), m_found[3]->text(),
            m_found[4]->text(), m_found[5]->text(), m_found[6]->text()};
}

// --- queries ----------------------------------------------------------------------

QString Tfrm_cerca::warehouse() const { return resolvePath(m_ctx.settings->text(u"Path", u"Archivio Magazzino")); }

QString Tfrm_cerca::registry() const { return resolvePath(m_ctx.settings->text(u"Path", u"Archivio anagrafica")); }

QString Tfrm_cerca::tablePath(const char16_t* file) const { return QDir(m_ctx.base).filePath(QString::fromUtf16(file)); }

bool Tfrm_cerca::query(const QString& sql, const QString& archive, const QVariantList& params,
                       QList<QVariantList>* rows) {
    try {
        *rows = m_ctx.store->rows(sql.arg(m_ctx.store->table(archive)), params);
        return true;
    } catch (const StoreError& e) {
        Dialogs::instance().error(u"Errore"_s, e.message(), this);
        return false;
    }
}

bool Tfrm_cerca::listQuery(const QString& sql, int columns, const QString& archive, const QVariantList& params,
                           QList<QStringList>* out) {
    // Streamed straight into the lines: a list of 50,000 rows as QVariant rows would cost
    // more than the whole rest of a keystroke.
    try {
        QList<QStringList> lists(columns);
        m_ctx.store->forEachRow(sql.arg(m_ctx.store->table(archive)), params, [&](const StoreRow& row) {
            for (int c = 0; c < columns; ++c) lists[c].append(row.text(c));
        });
        *out = std::move(lists);
        return true;
    } catch (const StoreError& e) {
        Dialogs::instance().error(u"Errore"_s, e.message(), this);
        return false;
    }
}

void Tfrm_cerca::searchArticleByCode() {
    m_codeSearch->setFocus();
    QVariantList params;
    const QString where = containsCondition(u"cod"_s, m_codeSearch->text(), &params);
    QList<QStringList> cols;
    if (!listQuery(u"SELECT cod, des FROM %1 WHERE "_s + where + u" ORDER BY des"_s, 2, warehouse(), params, &cols))
        return;
    QStringList lines;
    lines.reserve(cols[0].size());
    for (qsizetype i = 0; i < cols[0].size(); ++i) lines.append(cols[0][i] + u" - "_s + cols[1][i]);
    m_codeLines->setLines(std::move(lines));
}

void Tfrm_cerca::searchArticleByDescription() {
    QVariantList params;
    const QString where = containsCondition(u"des"_s, m_descriptionSearch->text(), &params);
    QList<QStringList> cols;
    if (!listQuery(u"SELECT des FROM %1 WHERE "_s + where + u" ORDER BY des"_s, 1, warehouse(), params, &cols)) return;
    m_descriptionLines->setLines(std::move(cols[0]));
}

void Tfrm_cerca::articleLineClicked(int page, const QString& line) {
    const bool byCode = page == 0;
    // The code is what comes before the first " - ", even when the code holds one.
    const QString key = byCode ? codeBefore(line) : line;
    QList<QVariantList> rows;
    const QString sql = u"SELECT cod, des, prezzo_ven, iva, qca, qsc, immagine1 FROM %1 WHERE upper("_s +
                        (byCode ? u"cod"_s : u"des"_s) + u") = ? ORDER BY des"_s;
    if (!query(sql, warehouse(), {key.toUpper()}, &rows) || rows.isEmpty()) return;
    const QVariantList& r = rows.first();
    ArticleFields& f = byCode ? m_byCode : m_byDescription;
    f.code->setText(r[0].toString());
    f.description->setText(byCode ? r[1].toString() : line);
    f.priceValue = r[2].toDouble();
    f.vatValue = r[3].toDouble();
    f.price->setText(fmt::value(f.priceValue));
    f.vat->setText(fmt::value(f.vatValue));
    if (byCode) {
        m_stock = r[4].toDouble() - r[5].toDouble();
        m_stockField->setText(fmt::value(m_stock));
        QPalette pal = m_stockField->palette();
        pal.setColor(QPalette::Text, m_stock > 0 ? QColor(Qt::black) : QColor(Qt::red));
        m_stockField->setPalette(pal);
    }
    setPicturePath(f, text(r[6]));
}

void Tfrm_cerca::setPicturePath(ArticleFields& f, const QString& path) {
    f.picturePath = path;
    const bool has = !path.isEmpty();
    f.showPicture->setVisible(has);
    f.picture->setVisible(has);
    showPicture(f);
}

void Tfrm_cerca::showPicture(ArticleFields& f) {
    f.picture->clear();
    if (f.picturePath.isEmpty() || !f.showPicture->isChecked()) return;
    QPixmap pm;
    if (!pm.load(resolvePath(f.picturePath))) {
        Dialogs::instance().beep();
        return;
    }
    f.picture->setPixmap(pm.scaled(f.picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Tfrm_cerca::searchByName(int page) {
    NamePage& p = m_names[page - 2];
    QVariantList params;
    const QString where = containsCondition(u"nome"_s, p.search->text(), &params);
    QList<QStringList> cols;
    if (!listQuery(u"SELECT nome, cod_cli FROM %1 WHERE "_s + where + u" ORDER BY nome"_s, 2, registry(), params, &cols))
        return;
    p.names->setLines(std::move(cols[0]));
    p.codes->setLines(std::move(cols[1]));
}

void Tfrm_cerca::nameLineClicked(int page, const QString& line, bool byCode) {
    NamePage& p = m_names[page - 2];
    const QString sql = byCode ? u"SELECT cod_cli, nome FROM %1 WHERE upper(cod_cli) = ? ORDER BY cod_cli"_s
                               : u"SELECT cod_cli, nome FROM %1 WHERE upper(nome) = ? ORDER BY nome"_s;
    QList<QVariantList> rows;
    if (!query(sql, registry(), {line.toUpper()}, &rows) || rows.isEmpty()) return;
    p.code->setText(rows.first()[0].toString());
    p.name->setText(rows.first()[1].toString());
}

void Tfrm_cerca::searchPartnerByCode() {
    QVariantList params;
    const QString where = containsCondition(u"cod_cli"_s, m_partnerCodeSearch->text(), &params);
    QList<QStringList> cols;
    if (!listQuery(u"SELECT nome FROM %1 WHERE "_s + where + u" ORDER BY nome"_s, 1, registry(), params, &cols)) return;
    m_partnerLines->setLines(std::move(cols[0]));
}

void Tfrm_cerca::partnerLineClicked(const QString& name) {
    QList<QVariantList> rows;
    if (!query(u"SELECT cod_cli, nome FROM %1 WHERE upper(nome) = ?"_s, registry(), {name.toUpper()}, &rows) ||
        rows.isEmpty())
        return;
    m_partnerCode->setText(rows.first()[0].toString());
    m_partnerName->setText(rows.first()[1].toString());
}

// --- post codes -------------------------------------------------------------------

void Tfrm_cerca::btn_avvia_cittaClick() {
    QVariantList params;
    const QString where = containsCondition(u"localita"_s, m_city->text(), &params);
    postCodeSearch(u"SELECT cap, localita, prov, prefissoTel FROM %1 WHERE "_s + where, params);
}

void Tfrm_cerca::btn_avvia_capClick() {
    if (m_provTypedLast) {
        postCodeSearch(u"SELECT cap, localita, prov, prefissoTel FROM %1 WHERE upper(prov) = ?"_s,
                       {m_provSearch->text().toUpper()});
        return;
    }
    QVariantList params;
    const QString where = containsCondition(u"cap"_s, m_capSearch->text(), &params);
    postCodeSearch(u"SELECT cap, localita, prov, prefissoTel FROM %1 WHERE "_s + where, params);
}

void Tfrm_cerca::postCodeSearch(const QString& sql, const QVariantList& params) {
    QList<QVariantList> rows;
    if (!query(sql, tablePath(kPostCodeTable), params, &rows)) return;
    QStringList lines;
    if (rows.size() < 2) {
        m_cap->setText(rows.isEmpty() ? QString() : text(rows.first()[0]));
    } else {
        lines.reserve(rows.size());
        for (const QVariantList& r : rows)
            lines.append(text(r[0]) + u" - "_s + text(r[1]) + u" - "_s + text(r[2]));
    }
    m_capLines->setLines(std::move(lines));
    // Province and prefix of the last row, as a cursor left at the end would give them.
    m_province->setText(rows.isEmpty() ? QString() : text(rows.last()[2]));
    m_prefix->setText(rows.isEmpty() ? QString() : text(rows.last()[3]));
    m_capFound->setVisible(true);
}

void Tfrm_cerca::postCodeLineClicked(const QString& line) {
    QList<QVariantList> rows;
    if (!query(u"SELECT cap, prefissoTel FROM %1 WHERE upper(cap) = ? ORDER BY localita"_s, tablePath(kPostCodeTable),
               {codeBefore(line).toUpper()}, &rows) ||
        rows.isEmpty())
        return;
    m_cap->setText(text(rows.first()[0]));
    m_prefix->setText(text(rows.first()[1]));
    m_capFound->setVisible(true);
}

// --- banks ------------------------------------------------------------------------

void Tfrm_cerca::btn_avvia_abiClick() {
    const QString abi = m_abi->text().trimmed(), cab = m_cab->text().trimmed();
    if (abi.isEmpty() && cab.isEmpty()) return;
    QString sql = u"SELECT abi, cab, banca, comune, indirizzo FROM %1 WHERE banca <> ''"_s;
    QVariantList params;
    if (!cab.isEmpty()) sql += u" AND "_s + containsCondition(u"cab"_s, cab, &params);
    if (!abi.isEmpty()) sql += u" AND "_s + containsCondition(u"abi"_s, abi, &params);
    bankSearch(sql, params);
}

void Tfrm_cerca::btn_avvia_nomeClick() {
    QString sql = u"SELECT abi, cab, banca, comune, indirizzo FROM %1 WHERE cab <> ''"_s;
    QVariantList params;
    const std::pair<const char16_t*, QLineEdit*> boxes[] = {
        {u"banca", m_bankName}, {u"sportello", m_branch}, {u"cap", m_bankCap}, {u"comune", m_bankTown}};
    for (const auto& [column, box] : boxes)
        if (!box->text().isEmpty())
            sql += u" AND "_s + containsCondition(QString::fromUtf16(column), box->text(), &params);
    bankSearch(sql, params);
}

void Tfrm_cerca::bankSearch(const QString& sql, const QVariantList& params) {
    QList<QVariantList> rows;
    if (!query(sql, tablePath(kBankTable), params, &rows)) return;
    QStringList lines;
    QList<QVariantList> codes;
    lines.reserve(rows.size());
    codes.reserve(rows.size());
    for (const QVariantList& r : rows) {
        lines.append(text(r[0]) + u'.' + text(r[1]) + u" - "_s + text(r[2]) + u" . "_s + text(r[3]) + u" . "_s +
                     text(r[4]));
        codes.append(QVariantList{r[0], r[1]});
    }
    m_bankLines->setLines(std::move(lines), std::move(codes));
}

void Tfrm_cerca::bankLineDoubleClicked(const QString& abi, const QString& cab) {
    QList<QVariantList> rows;
    if (!query(u"SELECT abi, cab, banca, sportello, indirizzo, cap, comune FROM %1 WHERE abi = ? AND cab = ?"_s,
               tablePath(kBankTable), {abi, cab}, &rows) ||
        rows.isEmpty())
        return;
    for (int i = 0; i < 7; ++i) m_found[i]->setText(text(rows.first()[i]));
}

}  // namespace zel

// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/InfoWindows.h"

#include "ui/ProgramPictures.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vw::ui {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vw::ui::InfoWindows)
};

struct HelpTopic {
    const char* title;
    const char* text;
};

// clang-format off
const HelpTopic kHelpTopics[] = {
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Come iniziare"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p>Vaultwise protegge un file alla volta con una password e lo ripristina quando serve."
     "</p><ol><li>Premi <b>Apri</b> e scegli il file.</li>"
     "<li>Premi <b>Elabora</b>: scrivi la password due volte e scegli dove salvare.</li>"
     "<li>Attendi la fine: la barra mostra l'avanzamento, <b>Interrompi</b> ferma il lavoro."
     "</li></ol>")},
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Apri"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p>Il pulsante <b>Apri</b> mostra la finestra di scelta del file. Puoi anche trascinare "
     "un file sulla finestra principale o aprirlo con Vaultwise dal gestore dei file.</p>"
     "<p>Il nome, il percorso, l'icona e il tempo di conversione stimato del file scelto "
     "compaiono nella finestra principale.</p>")},
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Elabora"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p><b>Elabora</b> protegge un file normale in un file <tt>.vwx</tt>, oppure ripristina "
     "un file <tt>.vwx</tt> nel file originale.</p>"
     "<p>La password va scritta due volte; l'indicatore ne valuta la robustezza. Se la "
     "password è già stata inserita, Vaultwise passa subito alla scelta del file di "
     "destinazione.</p>")},
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Anteprima"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p>Fai clic sull'icona del file per vedere un'immagine (JPG, BMP, GIF, ICO) in una "
     "finestra di anteprima, ridimensionabile.</p>")},
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Esci"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p>Il pulsante con il simbolo di spegnimento, a destra, chiude subito il programma.</p>")},
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Il banner e la barra di stato"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p>Il banner in basso apre la pagina del servizio partner nel browser. La barra di "
     "stato mostra l'ora; un clic sul nome del programma apre la pagina del produttore.</p>")},
    {QT_TRANSLATE_NOOP("vw::ui::InfoWindows", "Codice privato"),
     QT_TRANSLATE_NOOP("vw::ui::InfoWindows",
     "<p>Un codice privato salvato nelle impostazioni si aggiunge alla password di ogni "
     "lavoro finché la casella <b>Use PCM</b> è spuntata, come all'avvio. Senza la spunta "
     "i file si proteggono e si ripristinano con la sola password.</p>"
     "<p>Chi ripristina il file deve conoscere la stessa password e avere lo stesso "
     "codice privato, se è stato usato.</p>")},
};
// clang-format on

QLabel* Heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    return label;
}

QDialogButtonBox* CloseButtons(QDialog* dialog, QDialogButtonBox::StandardButton which,
                               const QString& text) {
    auto* buttons = new QDialogButtonBox(which);
    buttons->button(which)->setText(text);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QString YesNo(bool value) {
    return value ? Texts::tr("Sì") : Texts::tr("No");
}

} // namespace

QDialog* CreateOptionsWindow(const OptionsSummary& options, QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("frmOptions");
    dialog->setWindowTitle(Texts::tr("Opzioni"));
    auto* top = new QVBoxLayout(dialog);
    top->addWidget(Heading(Texts::tr("Impostazioni in uso")));

    auto* form = new QFormLayout;
    auto* newKeys = new QLabel(options.newKeys ? Texts::tr("Sì: la password si dimentica a "
                                                           "ogni nuovo file scelto")
                                               : Texts::tr("No: la password resta valida "
                                                           "per i file successivi"));
    newKeys->setObjectName("NewKeys");
    form->addRow(Texts::tr("Nuova password per ogni file:"), newKeys);
    auto* folder =
        new QLabel(options.startFolder.isEmpty() ? Texts::tr("(cartella di avvio del programma)")
                                                 : QDir::toNativeSeparators(options.startFolder));
    folder->setObjectName("Folder");
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(Texts::tr("Cartella iniziale:"), folder);
    auto* code = new QLabel(YesNo(options.privateCodeStored));
    code->setObjectName("PrivateCode");
    form->addRow(Texts::tr("Codice privato salvato:"), code);
    top->addLayout(form);

    auto* note = new QLabel(
        Texts::tr("Le impostazioni si leggono all'avvio e qui sono in sola lettura: per cambiarle "
                  "modifica la configurazione di Vaultwise e riavvia il programma."));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #4a5a6a;"));
    top->addWidget(note);
    top->addWidget(CloseButtons(dialog, QDialogButtonBox::Ok, Texts::tr("OK")));
    dialog->setMinimumWidth(420);
    return dialog;
}

QDialog* CreateHelpTopicsWindow(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("frmHelp");
    dialog->setWindowTitle(Texts::tr("Argomenti della guida"));
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* top = new QVBoxLayout(dialog);
    auto* splitter = new QSplitter;
    auto* topics = new QListWidget;
    topics->setObjectName("topics");
    topics->setAccessibleName(Texts::tr("Argomenti"));
    auto* page = new QTextBrowser;
    page->setObjectName("page");
    page->setAccessibleName(Texts::tr("Testo dell'argomento"));
    page->setOpenExternalLinks(false);
    for (const HelpTopic& topic : kHelpTopics)
        topics->addItem(Texts::tr(topic.title));
    QObject::connect(topics, &QListWidget::currentRowChanged, page, [page](int row) {
        if (row < 0 || row >= static_cast<int>(std::size(kHelpTopics))) return;
        page->setHtml(
            QStringLiteral("<h3>%1</h3>%2")
                .arg(Texts::tr(kHelpTopics[row].title), Texts::tr(kHelpTopics[row].text)));
    });
    topics->setCurrentRow(0);
    splitter->addWidget(topics);
    splitter->addWidget(page);
    splitter->setStretchFactor(1, 1);
    topics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    topics->setMinimumWidth(190);
    splitter->setSizes({200, 340});
    top->addWidget(splitter);
    top->addWidget(CloseButtons(dialog, QDialogButtonBox::Close, Texts::tr("Chiudi")));
    dialog->resize(580, 340);
    return dialog;
}

QDialog* CreateAboutWindow(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("frmAbout");
    dialog->setWindowTitle(Texts::tr("Informazioni su %1").arg(kProgramName));
    auto* top = new QHBoxLayout(dialog);
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap::fromImage(DrawProgramIcon(96)));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);

    auto* column = new QVBoxLayout;
    auto* name = Heading(QString::fromLatin1(kProgramName));
    name->setObjectName("name");
    column->addWidget(name);
    auto* version = new QLabel(Texts::tr("Versione %1").arg(kProgramVersion));
    version->setObjectName("version");
    column->addWidget(version);
    auto* what = new QLabel(
        Texts::tr("Protegge un file alla volta con una password e lo ripristina quando serve."));
    what->setWordWrap(true);
    column->addWidget(what);
    auto* safety = new QLabel(Texts::tr(
        "<b>Nota sulla sicurezza:</b> i file <tt>.vwx</tt> usano un formato storico, con un "
        "cifrario proprio e senza cifratura autenticata. Tiene lontani i curiosi, ma non "
        "sostituisce strumenti moderni per dati davvero riservati."));
    safety->setObjectName("safety");
    safety->setWordWrap(true);
    safety->setStyleSheet(QStringLiteral("background: #fff6df; border: 1px solid #e9b949; "
                                         "border-radius: 4px; padding: 6px;"));
    column->addWidget(safety);
    auto* licence = new QLabel(Texts::tr("Licenza GNU GPL 3 o successiva, senza garanzia."));
    licence->setObjectName("licence");
    column->addWidget(licence);
    auto* maker = new QLabel(QStringLiteral("© Lumora"));
    maker->setStyleSheet(QStringLiteral("color: #4a5a6a;"));
    column->addWidget(maker);
    column->addStretch(1);
    column->addWidget(CloseButtons(dialog, QDialogButtonBox::Ok, Texts::tr("OK")));
    top->addLayout(column, 1);
    dialog->setFixedWidth(440);
    return dialog;
}

void ShowOptionsWindow(const OptionsSummary& options, QWidget* parent) {
    QDialog* dialog = CreateOptionsWindow(options, parent);
    dialog->exec();
    delete dialog;
}

QDialog* ShowHelpTopicsWindow(QWidget* parent) {
    QDialog* dialog = nullptr;
    if (parent) dialog = parent->findChild<QDialog*>("frmHelp", Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = CreateHelpTopicsWindow(parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->setModal(false);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void ShowAboutWindow(QWidget* parent) {
    QDialog* dialog = CreateAboutWindow(parent);
    dialog->exec();
    delete dialog;
}

} // namespace vw::ui

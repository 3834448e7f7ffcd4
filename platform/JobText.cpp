// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/JobText.h"

#include <QCoreApplication>
#include <cerrno>

#include "engine/job/StatusCodes.h"
#include "engine/text/Cp1252.h"

namespace vw {
namespace {

// The status table's texts are the program's own, as it always had them (context "engine").
struct StatusEntry {
    std::int16_t code;
    const char* text;
};

constexpr StatusEntry kStatusTable[] = {
    {kStatusReserved1, QT_TRANSLATE_NOOP("engine", "Impossibile continuare 1")},
    {kStatusReserved2, QT_TRANSLATE_NOOP("engine", "Impossibile continuare 2")},
    {kStatusPasswordTooShort, QT_TRANSLATE_NOOP("engine", "Password troppo corta")},
    {kStatusFileNotFound, QT_TRANSLATE_NOOP("engine", "File non trovato")},
    {kStatusChecksum, QT_TRANSLATE_NOOP("engine", "Errore di compressione")},
    {kStatusEmptyFile, QT_TRANSLATE_NOOP("engine", "File vuoto")},
    {kStatusGeneric1, QT_TRANSLATE_NOOP("engine", "Errore Generico 1")},
    {kStatusProtectCancelled, QT_TRANSLATE_NOOP("engine", "Elaborazione interrota")},
    {kStatusProtectFailed, QT_TRANSLATE_NOOP("engine", "Errore: ")},
    {kStatusUnknownFormat, QT_TRANSLATE_NOOP("engine", "Errore generico 2")},
    {kStatusRestoreCancelled, QT_TRANSLATE_NOOP("engine", "Elaborazione interrota")},
    {kStatusRestoreFailed, QT_TRANSLATE_NOOP("engine", "Errore: ")},
    {kStatusWrongPassword, QT_TRANSLATE_NOOP("engine", "Errore Generico 3")},
    {kStatusCorrupt, QT_TRANSLATE_NOOP("engine", "Errore File corrotto")},
    {kStatusGeneric4, QT_TRANSLATE_NOOP("engine", "Errore Generico 4")},
};

struct Words {
    Q_DECLARE_TR_FUNCTIONS(JobText)
};

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

// The words for how a compressed stream is damaged.
QString StreamFaultText(const Failure& f) {
    switch (f.stream) {
    case StreamFault::HeadShort:
        return Words::tr("l'intestazione è più corta di 11 byte");
    case StreamFault::LengthNotPositive:
        return Words::tr("la lunghezza dei dati non compressi non è positiva");
    case StreamFault::FewSymbols:
        return Words::tr("il numero di simboli, %1, è inferiore a 2").arg(f.value);
    case StreamFault::TableOverrun:
        return Words::tr("la tabella dei simboli va oltre la fine del flusso");
    case StreamFault::CodeBitsOverrun:
        return Words::tr("i bit dei codici vanno oltre la fine del flusso");
    case StreamFault::CodeContinues:
        return Words::tr("il codice del valore %1 prosegue oltre il codice del valore %2 (non è un "
                         "codice prefisso)")
            .arg(f.value)
            .arg(f.limit);
    case StreamFault::CodeRepeated:
        return Words::tr(
                   "il codice del valore %1 coincide con un altro codice o ne è l'inizio (non è "
                   "un codice prefisso)")
            .arg(f.value);
    case StreamFault::TooManyNodes:
        return Words::tr("la tabella dei codici richiede più di 512 nodi");
    case StreamFault::CodeIncomplete:
        return Words::tr("la tabella dei codici non è un codice prefisso completo");
    case StreamFault::MissingNode:
        return Words::tr("i bit dei dati portano a un nodo che non esiste");
    case StreamFault::CodeTooLong:
        return Words::tr("un codice supererebbe i 255 bit");
    case StreamFault::StreamTooLarge:
        return Words::tr("il flusso compresso raggiungerebbe 2 GiB");
    case StreamFault::None:
        break;
    }
    return {};
}

// The words for the faults about the result and the files around it.
QString OutputFaultText(const Failure& f) {
    const QString reason = SystemErrorText(f.error);
    switch (f.fault) {
    case Fault::OutputCreate:
        return Words::tr("impossibile creare un file nella cartella \"%1\": %2")
            .arg(Path(f.path), reason);
    case Fault::FolderRefusesFiles:
        return Words::tr("la cartella \"%1\" non accetta nuovi file").arg(Path(f.path));
    case Fault::OutputWrite:
        return Words::tr("impossibile scrivere \"%1\": %2").arg(Path(f.path), reason);
    case Fault::OutputRename:
        return Words::tr("impossibile dare al file completo il nome \"%1\": %2")
            .arg(Path(f.path), reason);
    case Fault::OutputReplace:
        return Words::tr("impossibile sostituire \"%1\": %2").arg(Path(f.path), reason);
    case Fault::OutputExists:
        return Words::tr("il file \"%1\" esiste già").arg(Path(f.path));
    case Fault::SourceNotDeleted:
        return Words::tr("\"%1\" è stato scritto, ma non è stato possibile eliminare \"%2\": %3")
            .arg(Path(f.other), Path(f.path), reason);
    case Fault::SourceKept:
        return Words::tr(
                   "il file \"%1\" è cambiato durante l'elaborazione, perciò è stato conservato; "
                   "\"%2\" contiene ciò che conteneva prima")
            .arg(Path(f.path), Path(f.other));
    default:
        return {};
    }
}

} // namespace

QString StatusText(std::int16_t status) {
    for (const StatusEntry& entry : kStatusTable)
        if (entry.code == status) return QCoreApplication::translate("engine", entry.text);
    return {};
}

QString StatusMessageOf(std::int16_t status, const Failure& failure) {
    const bool described = status == kStatusProtectFailed || status == kStatusRestoreFailed;
    return StatusText(status) + (described ? FailureText(failure) : QString());
}

QString FailureText(const Failure& f) {
    const QString reason = SystemErrorText(f.error);
    switch (f.fault) {
    case Fault::SourceOpen:
        return Words::tr("impossibile aprire il file \"%1\": %2").arg(Path(f.path), reason);
    case Fault::SourceRead:
        return Words::tr("impossibile leggere il file \"%1\": %2").arg(Path(f.path), reason);
    case Fault::SourceChanged:
        return Words::tr(
                   "il file \"%1\" è cambiato durante l'elaborazione; non è stato scritto nulla")
            .arg(Path(f.path));
    case Fault::SourceTooLarge:
        return Words::tr(
                   "il file \"%1\" è troppo grande per il formato, che arriva a meno di 2 GiB")
            .arg(Path(f.path));
    case Fault::ExtensionHasControl:
        return Words::tr(
                   "l'estensione \"%1\" di \"%2\" contiene un carattere di controllo, che nessun "
                   "ripristino potrebbe rimettere nel nome di un file; rinominare prima il file")
            .arg(QString::fromStdString(f.shown), Path(f.path));
    case Fault::ExtensionOutsideCodePage:
        return Words::tr("l'estensione di \"%1\" contiene caratteri che la code page Windows-1252 "
                         "non può memorizzare (%2): nessun ripristino potrebbe rimetterla com'è; "
                         "rinominare prima il file")
            .arg(Path(f.path), QString::fromStdString(f.shown));
    case Fault::StoredExtensionInvalid:
        return Words::tr("l'estensione memorizzata \"%1\" non è valida per il nome di un file")
            .arg(QString::fromStdString(f.shown));
    case Fault::StoredExtensionUnended:
        return Words::tr("l'estensione memorizzata non ha fine (file danneggiato)");
    case Fault::HeadTooLong:
        return Words::tr(
            "l'intestazione e l'estensione memorizzata sono più lunghe di quanto il formato "
            "ammetta");
    case Fault::StreamNotIdentified: // the program's own words, in every language
        return QStringLiteral("The data either was not compressed with HE3 or is corrupt "
                              "(identification string not found)");
    case Fault::StreamDamaged:
        return Words::tr("il flusso HE3 è danneggiato: %1").arg(StreamFaultText(f));
    case Fault::MemoryLimit:
        return Words::tr(
                   "il file ripristinato sarebbe di %1 byte, più dei %2 byte ammessi in memoria")
            .arg(f.value)
            .arg(f.limit);
    case Fault::OutOfMemory:
        return Words::tr("memoria insufficiente");
    case Fault::RandomUnavailable:
        return Words::tr("la fonte di numeri casuali del sistema non risponde: %1").arg(reason);
    case Fault::Internal:
        return Words::tr("errore interno del programma (%1)").arg(QString::fromStdString(f.shown));
    case Fault::None:
        return {};
    default:
        return OutputFaultText(f);
    }
}

QString SystemErrorText(int error) {
    switch (error) {
    case EPERM:
        return Words::tr("operazione non permessa");
    case ENOENT:
        return Words::tr("il file o la cartella non esiste");
    case EIO:
        return Words::tr("errore di lettura o scrittura del dispositivo");
    case EACCES:
        return Words::tr("permesso negato");
    case EEXIST:
        return Words::tr("il file esiste già");
    case ENOTDIR:
        return Words::tr("una parte del percorso non è una cartella");
    case EISDIR:
        return Words::tr("è una cartella");
    case EINVAL:
        return Words::tr("operazione non valida per questo file");
    case ENFILE:
    case EMFILE:
        return Words::tr("troppi file aperti");
    case EFBIG:
        return Words::tr("file troppo grande");
    case ENOSPC:
        return Words::tr("spazio esaurito sul dispositivo");
    case EROFS:
        return Words::tr("file system in sola lettura");
    case ENAMETOOLONG:
        return Words::tr("nome di file troppo lungo");
    case ELOOP:
        return Words::tr("troppi collegamenti simbolici");
    case EDQUOT:
        return Words::tr("quota del disco superata");
    case EXDEV:
        return Words::tr("i due percorsi sono su dispositivi diversi");
    case EBUSY:
        return Words::tr("dispositivo o risorsa occupata");
    case ETXTBSY:
        return Words::tr("file in uso");
    case ENOMEM:
        return Words::tr("memoria insufficiente");
    case ENXIO:
    case ENODEV:
        return Words::tr("dispositivo non disponibile");
    case EAGAIN:
        return Words::tr("risorsa temporaneamente non disponibile");
    case ENOTSUP:
        return Words::tr("operazione non supportata");
    case EPIPE:
        return Words::tr("chi leggeva ha chiuso la pipe");
    default:
        return Words::tr("errore di sistema %1").arg(error);
    }
}

QString PasswordRefusalText(PasswordVerdict verdict, std::string_view code) {
    switch (verdict) {
    case PasswordVerdict::Accepted:
        return {};
    case PasswordVerdict::Mismatch:
        return QCoreApplication::translate("engine", "Le password non conincidono");
    case PasswordVerdict::TooShort:
        return StatusText(kStatusPasswordTooShort);
    case PasswordVerdict::OutsideCodePage:
        return QCoreApplication::translate("engine",
                                           "La password contiene caratteri non ammessi: ") +
               QString::fromStdString(CodePointList(CharactersOutsideCp1252(code)));
    }
    return {};
}

} // namespace vw

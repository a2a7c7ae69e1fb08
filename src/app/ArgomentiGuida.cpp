#include "app/ArgomentiGuida.h"

#include "store/TCategoria.h"

namespace {

QString T(const char* testo) { return QString::fromUtf8(testo); }

// Paragraphs that the launcher's and the record card's topics share.
QString Informazioni() {
    return T("La foto di ciascun immobile può essere commentata con varie informazioni: il riferimento, "
             "la descrizione, l'ubicazione, il numero di vani, i metri quadri, il prezzo, la classe "
             "energetica e le condizioni dell'immobile. A ogni foto si può inoltre aggiungere una breve "
             "didascalia.");
}

QString Visualizzatore() {
    return T("La funzione Visualizzatore foto permette di sfogliare le immagini di ciascuna categoria di "
             "immobili con i pulsanti che portano alla prima, alla precedente, alla successiva e "
             "all'ultima foto. Sopra ogni foto compare il riferimento dell'immobile e sotto la sua "
             "didascalia; anche qui la foto può essere ingrandita a tutto schermo. Il visualizzatore "
             "diventa così un vero catalogo elettronico da sfogliare insieme ai clienti.");
}

QString Slideshow() {
    return T("Il pulsante Slideshow mostra in sequenza ad intervalli di sei secondi tutte le foto della "
             "categoria a tutto schermo. Dopo l'ultima foto la presentazione riparte dalla prima e "
             "prosegue finché non si fa clic in un punto qualsiasi dello schermo.");
}

QString Duplica() {
    return T("Se si ha la necessità di inserire in archivio diverse foto riguardanti lo stesso immobile, "
             "basta salvare la prima scheda e poi fare clic sull'icona Duplica: la schermata si prepara "
             "ad accogliere una nuova scheda con gli stessi dati di testo, a cui si abbina l'altra foto "
             "prima di salvarla. Ogni copia salvata diventa una nuova scheda, con un proprio numero.");
}

} // namespace

QString TArgomentoGuida::Testo() const { return Paragrafi.join(QStringLiteral("\r\n\r\n")); }

namespace ArgomentiGuida {

QString FileProgramma() {
#ifdef Q_OS_WIN
    return QStringLiteral("Tegolario.exe");
#else
    return QStringLiteral("tegolario");
#endif
}

TArgomentoGuida Avvio() {
    TArgomentoGuida a;
    a.Titolo = T("Uno sguardo a Tegolario ©");
    a.Paragrafi = {
        T("Tegolario è un software che consente alle agenzie immobiliari di gestire in modo semplice e "
          "veloce un archivio fotografico digitale degli immobili in vendita o in affitto. L'archivio è "
          "portatile: il programma e tutti i suoi dati stanno in un'unica cartella, che può essere "
          "copiata e utilizzata anche da una chiavetta USB. Gli immobili sono suddivisi in dieci "
          "categorie: appartamenti, attici, monolocali, bilocali, ville e villini, box e garage, "
          "negozi, uffici, depositi, rustici e terreni."),
        T("La funzione Slideshow consente di visualizzare le foto degli immobili in sequenza a tutto "
          "schermo, ad esempio su un monitor collocato nella vetrina dell'agenzia. Sopra ciascuna foto "
          "compare il numero di riferimento dell'immobile, così chi si ferma davanti alla vetrina può "
          "chiedere informazioni citandolo."),
        Informazioni(),
        T("Il campo Note consente di registrare qualsiasi informazione aggiuntiva sull'immobile, senza "
          "limiti di lunghezza e su più righe. Anche le note servono a ritrovare le schede: una ricerca "
          "sul campo Note elenca tutte le schede che contengono il testo cercato."),
        T("La foto dell'immobile presente in ciascuna scheda viene ridotta in scala automaticamente "
          "quando è più grande del riquadro di anteprima, senza che il file originale venga "
          "modificato. Con l'icona della lente la foto può essere ingrandita a tutto schermo, e con il "
          "pulsante \"Salva foto su disco\" qualsiasi foto dell'archivio può essere salvata in un file "
          "JPEG."),
        Visualizzatore(),
        Slideshow(),
        T("Se la propria agenzia immobiliare dispone di più monitor in vetrina, ciascuno può mostrare "
          "una categoria diversa nello stesso momento: basta avviare lo slideshow di una categoria su "
          "ogni computer collegato a un monitor. Tegolario può infatti essere utilizzato su più PC, "
          "ciascuno con la propria copia della cartella del programma, oppure condiviso tra più "
          "postazioni attraverso una cartella della rete locale."),
        T("E' possibile allegare file di qualsiasi genere alla scheda di ciascun immobile. Ogni scheda "
          "può fare riferimento a un massimo di tre file, ad esempio planimetrie, contratti o visure "
          "catastali, ciascuno con una propria descrizione, e può essere associata a una cartella che "
          "raccoglie un numero qualsiasi di altri documenti sull'immobile. I file e le cartelle restano "
          "dove si trovano: la scheda ne conserva soltanto il percorso, e il pulsante Apri li apre con "
          "il programma predefinito del computer."),
        T("Dopo aver inserito le schede, il software consente di effettuare ricerche avanzate su uno o "
          "più campi contemporaneamente, anche con chiavi di ricerca parziali: basta scrivere una parte "
          "del testo cercato, senza badare a maiuscole e minuscole (le lettere accentate vanno però "
          "scritte come compaiono nelle schede). Si possono così trovare, ad "
          "esempio, tutti gli immobili di una certa zona che abbiano un box auto indicato nelle note."),
        Duplica(),
        T("I dati testuali e le foto degli immobili presenti negli archivi sono salvati all'interno di "
          "file che si trovano nella cartella del programma, uno per ciascuna categoria (ad esempio "
          "Monolocali.db). Per fare una copia di sicurezza basta copiare l'intera cartella del "
          "programma su un altro disco o su una chiavetta USB; per ripristinare i dati è sufficiente "
          "ricopiarla al suo posto."),
        T("E' inoltre possibile esportare i dati testuali di ciascun archivio in un foglio di Microsoft "
          "Excel: il programma salva una cartella di lavoro in formato .xlsx nella cartella Documenti e "
          "la apre con il programma di fogli di calcolo installato sul computer, come Microsoft Excel o "
          "LibreOffice Calc. Allo stesso modo ogni singola scheda, foto compresa, può essere esportata "
          "in un documento in formato .docx, che si apre con Microsoft Word, LibreOffice Writer o un "
          "altro programma di videoscrittura."),
        T("L'accesso al software è protetto da una password aggiornabile dall'utente. La password può "
          "essere cambiata in qualsiasi momento con il pulsante \"Cambia password\" della finestra di "
          "accesso, e deve essere composta da almeno otto caratteri. Al primo accesso la password è "
          "\"" TEGOLARIO_PRIMA_PASSWORD "\" (le virgolette servono solo a indicarla e non vanno "
          "digitate); conviene sostituirla subito con una password personale. Nella password le "
          "lettere non accentate si possono digitare indifferentemente maiuscole o minuscole, mentre "
          "le lettere accentate vanno digitate esattamente come sono state scelte: \"è\" e \"È\" "
          "sono caratteri diversi."),
        T("Tegolario può essere utilizzato anche su chiavetta USB o in una rete locale: basta copiare "
          "l'intera cartella del programma sulla chiavetta o in una cartella condivisa della rete, e "
          "avviarlo con un doppio clic sul file \"%1\" che si trova al suo interno. Tutti gli archivi "
          "viaggiano insieme al programma.")
            .arg(FileProgramma()),
        T("Tegolario è quindi lo strumento ideale per chi vuole costruirsi, a tempo di record, un "
          "archivio fotografico degli immobili sempre aggiornato e facile da consultare: in agenzia, "
          "davanti ai clienti e in vetrina."),
    };
    return a;
}

TArgomentoGuida Scheda() {
    TArgomentoGuida a;
    a.Titolo = T("Gestione delle schede degli immobili");
    a.Paragrafi = {
        T("La finestra per la gestione degli archivi fotografici degli immobili permette di descrivere "
          "ciascuna scheda con una serie di campi di testo e con una foto in formato JPEG. Ogni "
          "categoria di immobili ha una finestra di lavoro e un archivio propri."),
        Informazioni(),
        T("Il campo Note consente di registrare qualsiasi informazione aggiuntiva sull'immobile, anche "
          "su più righe (il tasto Invio va a capo). Una ricerca sul campo Note elenca tutte le schede "
          "che contengono la chiave di ricerca in un punto qualsiasi del testo."),
        T("Per inserire una nuova scheda, bisogna innanzitutto fare clic sull'icona Nuovo, compilare i "
          "campi (il Riferimento è obbligatorio) e caricare la foto con il pulsante \"Carica foto in "
          "formato Jpeg\", quindi fare clic sull'icona del floppy per salvare. Il programma conserva "
          "nell'archivio una propria copia della foto insieme ai dati testuali: il file originale può "
          "poi essere spostato o cancellato senza conseguenze per la scheda."),
        T("Si tenga presente che, dopo il caricamento, la foto appare ridotta in scala per entrare nel "
          "riquadro, ma in archivio viene conservata così com'è, nelle dimensioni originali. Per "
          "vederla a tutto schermo basta fare clic sull'icona della lente nell'angolo in basso a destra "
          "della foto; per salvarla su disco si usa il pulsante \"Salva foto su disco\"."),
        T("Per visualizzare una scheda, è possibile utilizzare le frecce per lo scorrimento dei record, "
          "che portano alla prima, alla precedente, alla successiva e all'ultima scheda dell'archivio, "
          "oppure effettuare una ricerca: l'icona del binocolo cerca in un solo campo, l'icona della "
          "lente di ingrandimento in uno o più campi contemporaneamente, anche con chiavi parziali. Un "
          "doppio clic su una scheda dell'elenco la mostra nella schermata di lavoro."),
        T("Per aggiornare una scheda esistente, basta visualizzarla nella schermata di lavoro, "
          "modificare i dati o caricare una nuova foto e fare clic sull'icona del floppy: i nuovi dati "
          "sostituiscono quelli precedenti."),
        Visualizzatore(),
        Slideshow(),
        T("Ciascuna scheda (foto inclusa) può essere esportata in un file di Microsoft Word con l'icona "
          "W: il programma salva un documento in formato .docx nella cartella Documenti e lo apre con "
          "il programma di videoscrittura installato sul computer. Con l'icona X, invece, i dati "
          "testuali dell'intero archivio vengono esportati in un foglio di calcolo in formato .xlsx."),
        Duplica(),
        T("L'icona Allega file permette di allegare a ciascuna scheda fino a tre file esterni, ciascuno "
          "con una descrizione, che si aprono poi con il pulsante Apri senza uscire dal programma. "
          "L'icona accanto, Associa cartella, collega invece alla scheda una cartella che può "
          "contenere un numero qualsiasi di file sull'immobile. In entrambi i casi, dopo \"Applica e "
          "chiudi\", la scheda va salvata perché le modifiche siano conservate."),
        T("Per eliminare una scheda, basta richiamarla nella schermata di lavoro e fare clic sull'icona "
          "del cestino. Dopo la conferma la scheda viene cancellata dall'archivio in modo definitivo e "
          "non può più essere recuperata."),
        T("Per chiudere la schermata per la gestione delle schede, basta fare clic sull'icona Esci. Si "
          "torna così alla finestra iniziale del programma; le modifiche non salvate della scheda "
          "corrente vanno perse."),
    };
    return a;
}

TArgomentoGuida Esportazione(const TCategoria& categoria) {
    TArgomentoGuida a;
    a.Titolo = categoria.TitoloAiutoEsportazione();
    a.Paragrafi = {
        T("La funzione di esportazione dati consente di convertire l'archivio corrente in un foglio di "
          "lavoro di Microsoft Excel. Il foglio viene salvato in formato .xlsx nella cartella "
          "Documenti, con il nome dell'archivio, e aperto con il programma di fogli di calcolo "
          "installato sul computer."),
        T("L'ambiente per l'esportazione visualizza i record in archivio nell'ordine in cui sono stati "
          "inseriti: una riga numerata per ogni scheda e una colonna per ogni campo esportato."),
        T("Si tenga presente che l'esportazione in Excel può essere applicata soltanto ai campi di "
          "testo a riga singola, perché le celle del foglio di calcolo non accettano le interruzioni "
          "di riga: le note, i file allegati, la cartella associata e la foto non vengono esportati."),
        T("Poiché la lunghezza massima dei dati contenuti in una cella di Excel è uguale a 255 "
          "caratteri, i testi più lunghi vengono troncati durante l'esportazione: nella cella restano "
          "i primi 250 caratteri, seguiti da tre puntini."),
        T("Facendo clic sull'icona di Excel si esportano i dati visualizzati in quel momento; il foglio "
          "di calcolo si apre pronto per essere consultato, modificato o stampato."),
    };
    return a;
}

} // namespace ArgomentiGuida

#include "app/Commands.h"

#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "core/ConsoleDialogs.h"
#include "core/Error.h"
#include "core/Fonts.h"
#include "core/OutputFile.h"
#include "output/CutTextReport.h"
#include "output/ListDataSet.h"
#include "output/PdfFilePrintingSystem.h"
#include "output/QtPrintingSystem.h"
#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "templates/Catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QWidget>
#include <cstdio>
#include <optional>

namespace corvane {

namespace {

const char* const usage =
    "usage: corvane render --window dd|edd|pd|ped --template N [--sender-row K] [--recipient-row K]\n"
    "                      [--move-x PX] [--move-y PX] [--check] (--pdf FILE | --printer NAME)\n"
    "Lays template N of the window's catalogue out with row K of outr as the sender and row K of\n"
    "inr (dd) or excel (edd) as the recipient; pd and ped print one page per row of inr or excel.\n"
    "Reads data.mdb in the working directory. --check lists the texts that did not fit their\n"
    "boxes (page, field, whole value) and exits with status 3 when there are any.\n";

void printError(const QString& message)
{
    std::fprintf(stderr, "corvane render: %s\n", message.toLocal8Bit().constData());
}

struct RenderOptions {
    PrintWindowKind window = PrintWindowKind::Dd;
    int templateNumber = 0;
    int senderRow = 1;
    int recipientRow = 1;
    int moveX = 0;
    int moveY = 0;
    QString pdfFile;
    QString printer;
    bool check = false;
};

std::optional<int> parseInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Throws Error with the reason when the arguments are not usable.
RenderOptions parseArguments(QStringList args)
{
    RenderOptions options;
    options.check = args.removeAll(QStringLiteral("--check")) > 0;
    bool haveWindow = false;
    QHash<QString, QString> values;
    for (int i = 0; i < args.size(); ++i) {
        const QString& name = args.at(i);
        static const QStringList known{"--window", "--template", "--sender-row", "--recipient-row",
                                       "--move-x", "--move-y", "--pdf", "--printer"};
        if (!known.contains(name))
            throw Error(QStringLiteral("unknown argument \"%1\"").arg(name));
        if (i + 1 >= args.size())
            throw Error(QStringLiteral("%1 needs a value").arg(name));
        if (values.contains(name))
            throw Error(QStringLiteral("%1 given twice").arg(name));
        values.insert(name, args.at(++i));
    }
    if (values.contains("--window")) {
        const auto kind = parsePrintWindowKind(values.value("--window"));
        if (!kind)
            throw Error(QStringLiteral("--window must be dd, edd, pd or ped, not \"%1\"").arg(values.value("--window")));
        options.window = *kind;
        haveWindow = true;
    }
    if (!haveWindow)
        throw Error(QStringLiteral("--window is required"));
    const auto number = parseInt(values.value("--template"));
    if (!values.contains("--template"))
        throw Error(QStringLiteral("--template is required"));
    if (!number || *number < 1 || *number > Catalogue::templateCount)
        throw Error(QStringLiteral("--template must be a number from 1 to 33"));
    options.templateNumber = *number;
    struct IntOption {
        const char* name;
        int* target;
        bool positive;
    };
    for (const IntOption& o : {IntOption{"--sender-row", &options.senderRow, true},
                               IntOption{"--recipient-row", &options.recipientRow, true},
                               IntOption{"--move-x", &options.moveX, false},
                               IntOption{"--move-y", &options.moveY, false}}) {
        const QString key = QString::fromLatin1(o.name);
        if (!values.contains(key))
            continue;
        const auto value = parseInt(values.value(key));
        if (!value || (o.positive && *value < 1))
            throw Error(QStringLiteral("%1 must be a%2 whole number").arg(key, o.positive ? " positive" : ""));
        *o.target = *value;
    }
    options.pdfFile = values.value("--pdf");
    options.printer = values.value("--printer");
    if (options.pdfFile.isEmpty() == options.printer.isEmpty())
        throw Error(QStringLiteral("give exactly one of --pdf FILE and --printer NAME"));
    return options;
}

QString recipientTable(PrintWindowKind window)
{
    return window == PrintWindowKind::Dd || window == PrintWindowKind::Pd ? QStringLiteral("inr")
                                                                          : QStringLiteral("excel");
}

// Stands the list on row `row` (1-based); an empty table stays without a row.
void standOnRow(List& list, int row, const char* what)
{
    const int count = list.RecordCount();
    if (count == 0 && row == 1)
        return;
    if (row > count)
        throw Error(QStringLiteral("%1 row %2 does not exist (%3 rows)").arg(QString::fromLatin1(what)).arg(row).arg(count));
    list.setRecNo(row - 1);
}

std::function<QString(const QString&)> currentRowReader(List& list)
{
    return [&list](const QString& column) {
        const int row = list.RecNo();
        if (row < 0 || list.Eof())
            return QString();
        return list.value(row, list.columnIndex(column));
    };
}

// libcups, loaded at run time as the printing layer does.
using CupsGetDests = int (*)(void** destinations);
using CupsFreeDests = void (*)(int count, void* destinations);
using CupsLastError = int (*)();
using CupsLastErrorString = const char* (*)();
constexpr int ippServiceUnavailable = 0x0502;

// When the print service cannot be reached, the engine's text of why; empty when it answers.
QString printServiceFailure()
{
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto getDests = reinterpret_cast<CupsGetDests>(cups.resolve("cupsGetDests"));
    const auto freeDests = reinterpret_cast<CupsFreeDests>(cups.resolve("cupsFreeDests"));
    const auto lastError = reinterpret_cast<CupsLastError>(cups.resolve("cupsLastError"));
    const auto lastErrorString = reinterpret_cast<CupsLastErrorString>(cups.resolve("cupsLastErrorString"));
    if (!getDests || !freeDests || !lastError)
        return QStringLiteral("libcups is not installed");
    void* destinations = nullptr;
    const int count = getDests(&destinations);
    freeDests(count, destinations);
    if (count == 0 && lastError() == ippServiceUnavailable)
        return lastErrorString ? QString::fromLocal8Bit(lastErrorString()) : QStringLiteral("service unavailable");
    return QString();
}

QString unknownPrinter(const QString& name, const QStringList& installed)
{
    const QString failure = printServiceFailure();
    if (!failure.isEmpty())
        return QStringLiteral("无法连接打印服务（CUPS），找不到打印机“%1”。请确认打印服务已经启动。\n%2")
            .arg(name, failure);
    return QStringLiteral("找不到打印机“%1”（已安装的打印机：%2）。")
        .arg(name, installed.isEmpty() ? QStringLiteral("无") : installed.join(QStringLiteral("，")));
}

int render(const RenderOptions& options)
{
    Connection connection(QDir::current().filePath(QString::fromLatin1(Connection::DefaultFileName)));
    connection.Open();
    connection.checkAddressBook();
    // Refused before anything is laid out; the page run checks again when it writes.
    if (!options.pdfFile.isEmpty())
        OutputFile(options.pdfFile).discard();
    List senders(&connection);
    senders.setSQL(QStringLiteral("select * from outr"));
    senders.Open();
    standOnRow(senders, options.senderRow, "sender");
    List recipients(&connection);
    recipients.setSQL(QStringLiteral("select * from ") + recipientTable(options.window));
    recipients.Open();
    const bool batch = options.window == PrintWindowKind::Pd || options.window == PrintWindowKind::Ped;
    if (!batch)
        standOnRow(recipients, options.recipientRow, "recipient");

    Catalogue catalogue(options.window);
    if (options.moveX != 0 || options.moveY != 0)
        catalogue.moveAll(options.moveX, options.moveY);
    TemplateReportPage page(catalogue.waybillTemplate(options.templateNumber),
                            SlotRows{currentRowReader(senders), currentRowReader(recipients)});
    ListDataSet rows(&recipients);
    if (batch)
        page.DataSet = &rows;
    page.ShowProgress = false;

    std::unique_ptr<PrintingSystem> system;
    if (!options.pdfFile.isEmpty()) {
        system = std::make_unique<PdfFilePrintingSystem>(QFileInfo(options.pdfFile).absoluteFilePath());
    } else {
        system = std::make_unique<QtPrintingSystem>();
        const QStringList printers = system->printerNames();
        const int index = printers.indexOf(options.printer);
        if (index < 0)
            throw Error(unknownPrinter(options.printer, printers));
        page.PrinterSettings.PrinterIndex = index;
    }
    page.setPrintingSystem(system.get());

    int sheets = 0;
    QList<TPageRun::CutText> cuts;
    QObject::connect(&page, &ReportPage::printStarted, [&sheets, &cuts](TPageRun* run, QWidget*) {
        QObject::connect(run, &TPageRun::pageAvailable, run, [&sheets, &cuts, run](int n) {
            sheets = n;
            cuts = run->cutTexts();
        });
    });
    if (!page.printJob())
        throw Error(QStringLiteral("nothing was printed"));
    const QString target = options.pdfFile.isEmpty() ? options.printer : options.pdfFile;
    std::printf("%d page%s to %s\n", sheets, sheets == 1 ? "" : "s", target.toLocal8Bit().constData());
    if (!options.check)
        return 0;
    // Printed in full either way; the check only tells what did not fit.
    if (cuts.isEmpty())
        return 0;
    std::printf("%s\n", cutTextSummary(cuts).toLocal8Bit().constData());
    for (const QString& line : cutTextLines(cuts))
        std::printf("%s\n", line.toLocal8Bit().constData());
    return 3;
}

}

int runRenderCommand(const QStringList& args)
{
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(usage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    RenderOptions options;
    try {
        options = parseArguments(args);
    } catch (const Error& e) {
        printError(e.message());
        std::fputs(usage, stderr);
        return 2;
    }
    installFontSubstitutions();
    const QString missingFonts = missingFontsMessage();
    if (!missingFonts.isEmpty()) {
        printError(missingFonts);
        return 1;
    }
    Dialogs& previousDialogs = Dialogs::current();
    ConsoleDialogs dialogs(QStringLiteral("corvane render: "));
    Dialogs::install(&dialogs);
    int status = 1;
    try {
        status = render(options);
    } catch (const Error& e) {
        printError(e.message());
        status = 1;
    } catch (const std::exception& e) {
        printError(QString::fromLocal8Bit(e.what()));
        status = 1;
    }
    Dialogs::install(&previousDialogs);
    return status;
}

}

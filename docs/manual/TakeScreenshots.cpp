// takescreenshots: every picture of the guide (docs/screenshots), taken without a display.
//
//   takescreenshots <program folder> <output folder> [Qt options]
//
// Opens DEMO.CLD from the program folder and grabs the windows as a user sees them: the
// start-up chooser, the About box, the client summary, the main window with its results as it first
// opens (no saved placement), every page of the input form (the Checks page on a copy with two
// findings, General Inputs on a copy with two negative amounts marked, a field's menu), the
// help window answering a question, the report windows, the report choices, the font
// warning and the exit screen; prints the Summary and the Detailed Analysis to PDF files
// whose pages become printed-page.png and printed-chart.png (pdftoppm); then, run again at a
// scale factor of 1.5, the main window and the months page as main-window-150.png and
// input-peak-150.png. Take them on a laptop-sized screen:
//   QT_QPA_PLATFORM=offscreen takescreenshots build/bin docs/screenshots -platform
//       offscreen:configfile=<file with {"screens":[{"width":1366,"height":768}]}>
#include "app/clientsummary/frmClientSummary.h"
#include "app/core/CompareYears.h"
#include "app/core/RunState.h"
#include "app/dialogs/ErrorDialogs.h"
#include "app/dialogs/frmError.h"
#include "app/gui/QtUi.h"
#include "app/gui/ShutDown.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmFinal.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmStartUp.h"
#include "app/help/HelpSupport.h"
#include "app/help/frmHelp.h"
#include "app/input/frmIP.h"
#include "app/reports/QtReportsHost.h"
#include "app/reports/ReportFonts.h"
#include "app/reports/dlgRptChoices.h"
#include "app/reports/frmReportForm.h"
#include "tests/gui/FakeDialogs.h"

#include <activation/Activation.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <cstdio>

namespace {

QString g_out;

void Save(QWidget* w, const char* name) {
    w->show();
    QApplication::processEvents();
    const QString path =
        g_out + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
    // What was taken, in the screen's own pixels: the window inside the screen's free area.
    const QRect area = w->screen()->availableGeometry();
    std::printf("%s: %dx%d at %d,%d on %dx%d (scale %.2g)\n", name, w->width(), w->height(), w->x(),
                w->y(), area.width(), area.height(), w->devicePixelRatioF());
    if (!w->grab().save(path))
        std::fprintf(stderr, "takescreenshots: cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // No saved window placement: the windows open as at a first start.
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    const QStringList arguments = [&] {
        QStringList all;
        for (int i = 1; i < argc; ++i) all << QString::fromLocal8Bit(argv[i]);
        return all;
    }();
    // Run again at a scale factor of 1.5, the main window alone.
    const bool scaled = qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("1.5");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: takescreenshots <program folder> <output folder>\n");
        return 2;
    }
    const QString programFolder = QString::fromLocal8Bit(argv[1]);
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);
    activation::SetFallbackLibrary(
        (programFolder + QStringLiteral("/libvesmora.so")).toStdString());

    QTemporaryDir work;
    caldren::RunState state;
    state.document.engine = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    state.program.programFolder = work.path().toStdString();
    state.preferences.settingsFilePath = state.program.programFolder + "/CaldrenCalc.ini";
    state.program.errorLogPath = state.program.programFolder + "/CLD_err.log";
    state.program.fullVersion = CALDREN_SHOT_VERSION;
    state.preferences.rptInput = state.preferences.rptSummary = state.preferences.rptDetail = 1;
    const QString demo = work.path() + QStringLiteral("/DEMO.CLD");
    QFile::copy(programFolder + QStringLiteral("/DEMO.CLD"), demo);
    state.document.currentFileName = demo.toStdString();
    state.document.engine->Load(state.document.currentFileName);
    // The name the pictures show, as on a user's desktop.
    state.document.currentFileName = "/home/anna/Clients/Acme Widgets/DEMO.CLD";
    // Every dialog answered without being shown.
    guitest::FakeDialogs dialogs;
    caldren::gui::QtUi ui(state, dialogs);
    state.SetUi(&ui);

    // The main window as it first opens, its results and chart whole.
    auto mainWindow = [&](const char* name) {
        caldren::gui::frmMain window(state, ui, dialogs);
        ui.setMainWindow(&window);
        window.setStatusText(QStringLiteral("File: ") +
                             QString::fromStdString(state.document.currentFileName));
        window.setRecentEntry(
            1, QStringLiteral("&1 ") + QString::fromStdString(state.document.currentFileName),
            true);
        window.setRecentSeparatorVisible(true);
        Save(&window, name);
        ui.setMainWindow(nullptr);
    };
    if (scaled) {
        mainWindow("main-window-150");
        {
            // The months page whole, Clear Months included.
            caldren::input::frmIP form(state, ui, dialogs);
            form.SetInitialIP();
            form.FitToScreen();
            form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"))->setCurrentIndex(2);
            Save(&form, "input-peak-150");
            form.reject();
        }
        state.SetUi(nullptr);
        return 0;
    }

    // The windows of an interactive start.
    {
        caldren::gui::frmStartUp chooser(state.options);
        Save(&chooser, "startup-chooser");
        caldren::gui::frmAbout about(state.program, dialogs);
        Save(&about, "about-box");
    }
    mainWindow("main-window");
    {
        caldren::input::frmIP form(state, ui, dialogs);
        form.SetInitialIP();
        form.FitToScreen();
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"));
        const char* const pages[] = {"input-initial", "input-general", "input-peak",
                                     "input-average"};
        for (int page = 0; page < 4; ++page) {
            tabs->setCurrentIndex(page);
            Save(&form, pages[page]);
        }
        form.reject();
    }
    // The Checks page on a copy whose year end moved on and whose cost of goods sold is off.
    {
        caldren::RunState other = state;
        other.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        other.document.engine->Load(demo.toStdString());
        other.document.engine->put_EOYCurrent("06/30/2027");
        other.document.engine->put_COGS("5,300,000");
        caldren::gui::QtUi otherUi(other, dialogs);
        other.SetUi(&otherUi);
        caldren::input::frmIP form(other, otherUi, dialogs);
        form.SetInitialIP();
        form.FitToScreen();
        form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"))->setCurrentIndex(4);
        Save(&form, "input-checks");
        form.reject();
        other.SetUi(nullptr);
    }
    // The General Inputs page with a credit typed as a negative current liability and a
    // negative net sales marked, and a field's menu with the form's Undo and Redo.
    {
        caldren::RunState other = state;
        other.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        other.document.engine->Load(demo.toStdString());
        other.document.engine->put_CurLiab("-1,040,200");
        other.document.engine->put_NetSales("-9,874,000");
        caldren::gui::QtUi otherUi(other, dialogs);
        other.SetUi(&otherUi);
        caldren::input::frmIP form(other, otherUi, dialogs);
        form.SetInitialIP();
        form.FitToScreen();
        form.findChild<QTabWidget*>(QStringLiteral("vsTabIP"))->setCurrentIndex(1);
        Save(&form, "input-negative");
        auto* field = form.findChild<QLineEdit*>(QStringLiteral("txtCOGS"));
        field->setFocus();
        field->setText(QStringLiteral("7,100,000"));
        field->selectAll();
        const QPoint at(field->width() / 2, field->height() / 2);
        // The menu is a window of its own: drawn over the form where it opened.
        QTimer::singleShot(100, [&] {
            QWidget* menu = QApplication::activePopupWidget();
            if (!menu) return;
            QPixmap picture = form.grab();
            QPainter painter(&picture);
            painter.drawPixmap(form.mapFromGlobal(menu->pos()), menu->grab());
            painter.end();
            picture.save(g_out + QStringLiteral("/input-menu.png"));
            menu->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, field->mapToGlobal(at));
        QApplication::sendEvent(field, &click);
        form.reject();
        other.SetUi(nullptr);
    }
    // The help window at the peak method, the search box holding a word.
    {
        caldren::RunState helpState = state;
        helpState.program.programFolder = programFolder.toStdString();
        caldren::help::frmHelp* help = caldren::help::HelpSupport::ShowHelp(
            helpState, dialogs, nullptr, QStringLiteral("peak-method"));
        auto* search = help->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
        search->setText(QStringLiteral("what is the peak method?"));
        QApplication::processEvents();
        help->ShowTopic(QStringLiteral("peak-method"));
        Save(help, "help-window");
        help->close();
        QApplication::processEvents();
    }

    // The report choices answered with these reports; the print dialog with a PDF file.
    auto answer = [&](Reports::ReportChoices chosen, const char* pdf) {
        dialogs.modal = [chosen](QDialog& d) {
            auto& c = dynamic_cast<caldren::reportwindows::dlgRptChoices&>(d);
            c.SetChoices(chosen);
            c.btnOK->click();
            return c.result();
        };
        dialogs.printers = true;  // the print dialog prints to a file
        dialogs.print = [file = work.path() + QLatin1Char('/') + QLatin1String(pdf)](
                            QPrinter& p, const QString&) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
            p.setPageSize(QPageSize(QPageSize::Letter));
            return true;
        };
    };
    // The report choices, as the View command shows them.
    {
        caldren::reportwindows::dlgRptChoices choices;
        choices.setWindowTitle(QStringLiteral("Select Reports (View)"));
        choices.SetChoices({1, 1, 1});
        Save(&choices, "report-choices");
    }
    answer({1, 1, 1}, "summary.pdf");

    caldren::reportwindows::QtReportsHost host(state, dialogs, nullptr);
    caldren::reportwindows::RunReportsOn(state, Reports::kView, host);
    const char* names[] = {"viewer-detailed", "viewer-summary", "viewer-inputs"};
    for (size_t i = 0; i < host.Viewers().size() && i < 3; ++i) {
        caldren::reportwindows::frmReportForm* viewer = host.Viewers()[i];
        viewer->resize(viewer->minimumSize());
        Save(viewer, names[i]);
    }
    // The Detailed Analysis viewer scrolled to the peak-cycle table, the chart under it.
    if (!host.Viewers().empty()) {
        caldren::reportwindows::frmReportForm* detailed = host.Viewers()[0];
        detailed->resize(detailed->minimumSize().width(), detailed->minimumSize().height() + 200);
        detailed->show();
        QApplication::processEvents();
        const QString text = detailed->txtReport->toPlainText();
        const int at = text.indexOf(QStringLiteral("Operating Cycles:"));
        if (at >= 0) {
            QTextCursor cursor(detailed->txtReport->document());
            cursor.setPosition(at);
            detailed->txtReport->setTextCursor(cursor);
            detailed->txtReport->verticalScrollBar()->setValue(cursor.blockNumber() - 3);
        }
        Save(detailed, "viewer-detailed-chart");
    }

    // View, Compare Years...: DEMO.CLD beside an earlier year of the same corporation.
    {
        QFile demoFile(demo);
        demoFile.open(QIODevice::ReadOnly);
        QByteArray earlier = demoFile.readAll();
        demoFile.close();
        const std::pair<const char*, const char*> edits[] = {
            {"Current end-of-year=06/30/2026", "Current end-of-year=06/30/2025"},
            {"Current Assets=4,850,000", "Current Assets=4,120,000"},
            {"Net Sales=7,900,000", "Net Sales=7,310,000"},
            {"Cost of Goods Sold=5,335,000", "Cost of Goods Sold=4,960,000"},
            {"Reasonable Needs=400,000", "Reasonable Needs=350,000"}};
        for (const auto& [from, to] : edits) earlier.replace(from, to);
        const QString fy2025 = work.path() + QStringLiteral("/Harlow FY2025.cld");
        QFile out(fy2025);
        out.open(QIODevice::WriteOnly);
        out.write(earlier);
        out.close();
        const QString fy2026 = work.path() + QStringLiteral("/Harlow FY2026.cld");
        QFile::copy(demo, fy2026);
        caldren::reportwindows::ViewSink sink(state, dialogs, nullptr);
        caldren::CompareYears::CompareFiles({fy2026.toStdString(), fy2025.toStdString()}, sink, [] {
            return activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        });
        if (!sink.Opened().empty()) {
            caldren::reportwindows::frmReportForm* compare = sink.Opened().front();
            compare->resize(compare->minimumSize());
            Save(compare, "viewer-compare");
            delete compare;
        }
    }

    // View, Client Summary...: a folder of five clients made from DEMO.CLD and a damaged file.
    {
        const QString folder = work.path() + QStringLiteral("/Clients");
        QDir().mkpath(folder);
        QFile demoFile(demo);
        demoFile.open(QIODevice::ReadOnly);
        const QByteArray harlow = demoFile.readAll();
        const char* const clients[][4] = {
            {"Harlow Precision Castings", "Harlow Precision Castings, Inc.", "4,850,000",
             "5,600,000"},
            {"Brightwater Foundry", "Brightwater Foundry Co.", "9,400,000", "8,900,000"},
            {"Kessler Tool and Die", "Kessler Tool & Die, Inc.", "2,150,000", "3,100,000"},
            {"Marlow Plastics", "Marlow Plastics Corp.", "12,750,000", "6,200,000"},
            {"Northgate Fasteners", "Northgate Fasteners LLC", "3,020,000", "4,800,000"}};
        for (const auto& c : clients) {
            QByteArray text = harlow;
            text.replace("Name=Harlow Precision Castings, Inc.", QByteArray("Name=") + c[1]);
            text.replace("Current Assets=4,850,000", QByteArray("Current Assets=") + c[2]);
            text.replace("Cost of Goods Sold - Next Year=5,600,000",
                         QByteArray("Cost of Goods Sold - Next Year=") + c[3]);
            QFile out(folder + QLatin1Char('/') + QString::fromUtf8(c[0]) + QStringLiteral(".cld"));
            out.open(QIODevice::WriteOnly);
            out.write(text);
        }
        QFile damaged(folder + QStringLiteral("/Old Client (damaged).cld"));
        damaged.open(QIODevice::WriteOnly);
        damaged.write("[Caldren Formula Calculation]\r\nNet Sales=seven\r\n");
        damaged.close();
        caldren::clientsummary::frmClientSummary window(dialogs, [](const std::string&) {});
        dialogs.files = {{folder}};
        window.chooseFolder();
        while (window.reading()) QApplication::processEvents(QEventLoop::AllEvents, 50);
        window.resize(1240, 370);
        Save(&window, "client-summary");
    }

    // The printed Summary report, first page.
    state.preferences.rptInput = 0;
    state.preferences.rptDetail = 0;
    answer({0, 1, 0}, "summary.pdf");
    caldren::reportwindows::RunReportsOn(state, Reports::kPrint, host);
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"), QStringLiteral("1"),
         QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), work.path() + QStringLiteral("/summary.pdf"),
         g_out + QStringLiteral("/printed-page")});

    // The printed Detailed Analysis report: its last page, the monthly-cycle chart.
    state.preferences.rptSummary = 0;
    state.preferences.rptDetail = 1;
    answer({0, 0, 1}, "detailed.pdf");
    caldren::reportwindows::RunReportsOn(state, Reports::kPrint, host);
    {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {work.path() + QStringLiteral("/detailed.pdf")});
        info.waitForFinished();
        QString pages = QStringLiteral("1");
        for (const QString& line :
             QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (line.startsWith(QStringLiteral("Pages:"))) pages = line.mid(6).trimmed();
        QProcess::execute(
            QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"), pages,
             QStringLiteral("-l"), pages, QStringLiteral("-png"), QStringLiteral("-singlefile"),
             work.path() + QStringLiteral("/detailed.pdf"),
             g_out + QStringLiteral("/printed-chart")});
    }

    // The font warning.
    {
        caldren::dialogs::frmError warning;
        warning.SetMessage(QString::fromStdString(
            caldren::reportwindows::NewFontWarningText("Courier New", 10.0f)));
        Save(&warning, "error-warning");
    }
    // The exit screen.
    {
        caldren::gui::frmFinal screen(dialogs);
        screen.SetDisplayText(caldren::gui::BuildExitMessageText(754));
        Save(&screen, "exit-screen");
    }
    for (auto& v : host.Viewers()) delete v.data();
    state.SetUi(nullptr);

    // The main window again at a scale factor of 1.5, on the same screen.
    QProcess again;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1.5"));
    again.setProcessEnvironment(environment);
    again.setProcessChannelMode(QProcess::ForwardedChannels);
    again.start(QCoreApplication::applicationFilePath(), arguments);
    again.waitForFinished(120000);
    return again.exitCode();
}

// The print session over QPrinter. The page context comes from the paint-device context of the
// drawing layer and is scaled from the printer's resolution to points.

#include "Platform/PrintSession.h"

#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <memory>

struct PrintSession {
    std::unique_ptr<QPrinter> printer;
    CGContextRef context = nullptr;
    OSStatus error = noErr;
    Boolean inPage = false;
    SInt32 pages = 0;
    QString jobName;
};

namespace {

PrintDialogResponder gResponder;

QPageLayout LayoutOf(const PrintPageSetup& page) {
    QPageSize size(QSizeF(page.paperWidth, page.paperHeight), QPageSize::Point, QString(),
                   QPageSize::ExactMatch);
    QPageLayout::Orientation turn =
        (page.orientation == 2 || page.orientation == 4) ? QPageLayout::Landscape : QPageLayout::Portrait;
    // Margins beyond the sheet are cut to it: they leave no printable area.
    return QPageLayout(size, turn,
                       QMarginsF(page.marginLeft, page.marginTop, page.marginRight, page.marginBottom),
                       QPageLayout::Point);
}

void StoreLayout(const QPageLayout& layout, PrintPageSetup* page) {
    QSizeF size = layout.pageSize().size(QPageSize::Point);
    page->paperWidth = size.width();
    page->paperHeight = size.height();
    page->orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    QMarginsF m = layout.margins(QPageLayout::Point);
    page->marginTop = m.top();
    page->marginLeft = m.left();
    page->marginBottom = m.bottom();
    page->marginRight = m.right();
}

void ApplyJob(QPrinter& printer, const PrintJobSetup& job) {
    if (!job.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(job.outputFile));
    } else if (!job.printerName.empty()) {
        printer.setPrinterName(QString::fromStdString(job.printerName));
    }
    printer.setCopyCount(job.copies > 0 ? job.copies : 1);
    printer.setCollateCopies(job.collate);
}

Rect Rounded(const QRectF& r) {
    return Rect{SInt16(std::lround(r.top())), SInt16(std::lround(r.left())), SInt16(std::lround(r.bottom())),
                SInt16(std::lround(r.right()))};
}

Boolean DialogsCanRun() {
    return PlatformHasApplication() && !PlatformIsOffscreen();
}

} // namespace

OSStatus PrintSessionCreate(PMPrintSession* session) {
    if (!session) return paramErr;
    *session = nullptr;
    if (!PlatformHasApplication()) return paramErr; // a printer needs the application
    *session = new PrintSession;
    (*session)->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return noErr;
}

void PrintSessionRelease(PMPrintSession* session) {
    if (!session || !*session) return;
    if ((*session)->context) CGContextRelease((*session)->context);
    delete *session;
    *session = nullptr;
}

Boolean PrintersAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

OSStatus ValidatePrintObjects(PMPrintSession session, PrintPageSetup* page, PrintJobSetup* job) {
    if (!session || !page || !job) return paramErr;
    if (!(page->paperWidth > 0) || !(page->paperHeight > 0) || !std::isfinite(page->paperWidth) ||
        !std::isfinite(page->paperHeight))
        StoreLayout(session->printer->pageLayout(), page);
    if (job->outputFile.empty() && !job->printerName.empty() &&
        !QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(job->printerName)))
        job->printerName.clear();
    if (job->copies < 1) job->copies = 1;
    return noErr;
}

OSStatus BeginPrintDocument(PMPrintSession session, const PrintPageSetup& page, const PrintJobSetup& job) {
    if (!session) return paramErr;
    if (session->context) return paramErr;
    QPrinter& printer = *session->printer;
    ApplyJob(printer, job);
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        return fnfErr; // no printer and no file to print into
    if (!printer.setPageLayout(LayoutOf(page))) return paramErr;
    printer.setFullPage(true); // after the layout, whose margins would move the origin again

    if (!session->jobName.isEmpty()) printer.setDocName(session->jobName);
    QRectF sheet = printer.pageLayout().fullRectPixels(printer.resolution());
    session->context = PlatformCreateCGContext(&printer, sheet.width(), sheet.height());
    if (!session->context) return ioErr;
    session->pages = 0;
    session->error = noErr;
    return noErr;
}

OSStatus EndPrintDocument(PMPrintSession session) {
    if (!session || !session->context) return paramErr;
    if (session->inPage) EndPrintPage(session);
    CGContextRelease(session->context);
    session->context = nullptr;
    return session->printer->printerState() == QPrinter::Error ? ioErr : noErr;
}

OSStatus BeginPrintPage(PMPrintSession session) {
    if (!session || !session->context || session->inPage) return paramErr;
    if (session->pages > 0 && !session->printer->newPage()) return ioErr;
    ++session->pages;
    session->inPage = true;
    CGContextSaveGState(session->context);
    CGFloat k = session->printer->resolution() / 72.0;
    CGContextScaleCTM(session->context, k, k);
    return noErr;
}

OSStatus EndPrintPage(PMPrintSession session) {
    if (session && session->inPage) {
        CGContextRestoreGState(session->context);
        session->inPage = false;
    }
    return noErr;
}

CGContextRef GetPrintContext(PMPrintSession session) {
    return session && session->inPage ? session->context : nullptr;
}

OSStatus GetPrintSessionError(PMPrintSession session) {
    return session ? session->error : paramErr;
}

void SetPrintSessionError(PMPrintSession session, OSStatus error) {
    if (session) session->error = error;
}

void SetPrintJobName(PMPrintSession session, const std::string& name) {
    if (session) session->jobName = QString::fromStdString(name);
}

OSStatus RunPageSetupDialog(PMPrintSession session, PrintPageSetup* page) {
    if (!session || !page) return paramErr;
    if (gResponder) {
        PrintJobSetup job{};
        return gResponder(&job, page);
    }
    if (!DialogsCanRun()) return kPMCancel;
    QPrinter& printer = *session->printer;
    printer.setPageLayout(LayoutOf(*page));
    QPageSetupDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted) return kPMCancel;
    StoreLayout(printer.pageLayout(), page);
    return noErr;
}

OSStatus RunPrintDialog(PMPrintSession session, PrintJobSetup* job, PrintPageSetup* page) {
    if (!session || !job || !page) return paramErr;
    if (gResponder) return gResponder(job, page);
    if (!DialogsCanRun()) return kPMCancel;
    QPrinter& printer = *session->printer;
    ApplyJob(printer, *job);
    printer.setPageLayout(LayoutOf(*page));
    // Without an installed printer Qt's dialog offers printing into a PDF file.
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return kPMCancel;
    if (printer.printRange() == QPrinter::PageRange) {
        job->firstPage = printer.fromPage();
        job->lastPage = printer.toPage();
    } else {
        job->firstPage = 1;
        job->lastPage = 0x7FFFFFFF;
    }
    job->copies = SInt16(printer.copyCount());
    job->collate = printer.collateCopies();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        job->outputFile = printer.outputFileName().toStdString();
        job->printerName.clear();
    } else {
        job->outputFile.clear();
        job->printerName = printer.printerName().toStdString();
    }
    StoreLayout(printer.pageLayout(), page);
    return noErr;
}

void SetPrintPageRange(PrintJobSetup* job, SInt32 first, SInt32 last) {
    if (!job) return;
    job->firstPage = first;
    job->lastPage = last;
}

OSStatus GetPaperRect(PMPrintSession, const PrintPageSetup& page, Rect* out) {
    if (!out) return paramErr;
    *out = Rounded(LayoutOf(page).paintRect(QPageLayout::Point));
    return noErr;
}

OSStatus GetPaperSize(PMPrintSession, const PrintPageSetup& page, Rect* out) {
    if (!out) return paramErr;
    QRectF full = LayoutOf(page).fullRect(QPageLayout::Point);
    *out = Rect{0, 0, SInt16(std::lround(full.height())), SInt16(std::lround(full.width()))};
    return noErr;
}

void SetPrintDialogResponder(PrintDialogResponder responder) {
    gResponder = std::move(responder);
}

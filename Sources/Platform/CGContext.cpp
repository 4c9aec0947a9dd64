// The CGContext-style context over QPainter: the current path is kept in device space as it is built,
// and painted through the current transform; the graphics state (colours, line, dash, pattern, font)
// is ours and saved with the painter's state. Ports, PDF files and any paint device share this code.
#include "Platform/CGContext.h"
#include "Platform/FileManager.h"
#include "Platform/Fonts.h"
#include "Platform/Pictures.h"
#include "Platform/PicturesInternal.h"
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/WideSegments.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QIODevice>
#include <QImageReader>
#include <QLineF>
#include <QPageSize>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <QPicture>
#include <QRegion>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct CGPath {
    QPainterPath path;
};

struct CGImage {
    QImage image;
    int refs = 1;
};

namespace {

bool gDefaultAntialias = true;
constexpr double kFontBase = kPlatformFontBaseSize;

struct GState {
    QColor stroke{Qt::black};
    QColor fill{Qt::black};
    CGFloat lineWidth = 1;
    CGLineCap cap = kCGLineCapButt;
    CGLineJoin join = kCGLineJoinMiter;
    CGFloat miterLimit = 10;
    std::vector<CGFloat> dash;
    CGFloat dashPhase = 0;
    CGFloat alpha = 1;
    bool patternFill = false;
    Pattern pattern{};
    QColor patternColour;
    CGFloat patternCell = 1;
    SInt16 fontNumber = 0;
    SInt16 fontFace = 0;
    CGFloat fontSize = 12;
    CGTextEncoding encoding = kCGEncodingMacRoman;
    CGTextDrawingMode textMode = kCGTextFill;
    bool antialias = true;
    QTransform ctm; // user space to the base space (y up)
};

Qt::PenCapStyle QtCap(CGLineCap cap) {
    return cap == kCGLineCapRound ? Qt::RoundCap : cap == kCGLineCapSquare ? Qt::SquareCap : Qt::FlatCap;
}
Qt::PenJoinStyle QtJoin(CGLineJoin join) {
    return join == kCGLineJoinRound   ? Qt::RoundJoin
           : join == kCGLineJoinBevel ? Qt::BevelJoin
                                      : Qt::MiterJoin;
}

QTransform ToQ(const CGAffineTransform& t) {
    return QTransform(t.a, t.b, t.c, t.d, t.tx, t.ty);
}
CGAffineTransform FromQ(const QTransform& t) {
    return {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
}

// Appends an arc of the circle (angles in radians, counter-clockwise unless clockwise) as cubic
// curves, each point mapped by m; with connect, a line leads from the current point to its start.
void AppendArc(QPainterPath& p, bool connect, double cx, double cy, double r, double a0, double a1,
               bool clockwise, const QTransform& m) {
    const double full = 2 * M_PI;
    double delta = a1 - a0;
    if (!clockwise) {
        if (delta >= full)
            delta = full;
        else if (delta < 0) {
            delta = std::fmod(delta, full);
            if (delta < 0) delta += full;
        }
    } else {
        if (delta <= -full)
            delta = -full;
        else if (delta > 0) {
            delta = std::fmod(delta, full);
            if (delta > 0) delta -= full;
        }
    }
    auto at = [&](double a) { return m.map(QPointF(cx + r * std::cos(a), cy + r * std::sin(a))); };
    if (connect)
        p.lineTo(at(a0));
    else
        p.moveTo(at(a0));
    int n = int(std::ceil(std::abs(delta) / (M_PI / 2) - 1e-9));
    for (int i = 0; i < n; ++i) {
        double t1 = a0 + delta * i / n, t2 = a0 + delta * (i + 1) / n;
        double k = 4.0 / 3.0 * std::tan((t2 - t1) / 4);
        QPointF c1(cx + r * (std::cos(t1) - k * std::sin(t1)), cy + r * (std::sin(t1) + k * std::cos(t1)));
        QPointF c2(cx + r * (std::cos(t2) + k * std::sin(t2)), cy + r * (std::sin(t2) - k * std::cos(t2)));
        p.cubicTo(m.map(c1), m.map(c2), at(t2));
    }
}

QPainterPath EllipsePath(const CGRect& r) {
    QPainterPath p;
    p.addEllipse(QRectF(r.origin.x, r.origin.y, r.size.width, r.size.height));
    return p;
}

QPainterPath RectPath(const CGRect& r) {
    QPainterPath p;
    p.addRect(QRectF(r.origin.x, r.origin.y, r.size.width, r.size.height));
    return p;
}

// Texts shaped at the base size by font, face, encoding, hinting and text: a redraw shows the same
// texts again, and shaping is most of what showing them costs. Zoom only scales the glyphs.
struct ShapedText {
    double advance = 0;
    bool shaped = false; // the glyph runs are made when the text is first shown
    QList<QGlyphRun> runs;
    double ascent = 0;
};
constexpr size_t kShapedCacheLimit = 16384;
std::unordered_map<std::string, ShapedText> gShapedTexts;

QString Decode(const char* bytes, size_t length, CGTextEncoding encoding) {
    if (!bytes) return QString();
    if (encoding == kCGEncodingUTF8) return QString::fromUtf8(bytes, qsizetype(length));
    return PlatformStringFromMacRoman(reinterpret_cast<const UInt8*>(bytes), SInt32(length));
}

// Wide solid strokes an image painter hands to our own rasteriser (Platform/WideSegments.h) rather
// than to Qt's stroker, which builds an outline for each: an opaque pen on a 32-bit image, smooth, a
// transform that scales both ways alike, and a clip of at most one rectangle. Aliased strokes stay
// with Qt, whose pixels the reference pictures hold.
struct WideRaster {
    WideSegmentTarget target{};
    WideSegmentPen pen{};
    QTransform toDevice;
};

bool PrepareWideRaster(QPainter& painter, const QTransform& toDevice, const QColor& colour, qreal width,
                       Qt::PenCapStyle cap, WideRaster* raster) {
    auto* image = dynamic_cast<QImage*>(painter.device());
    if (image == nullptr ||
        (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied))
        return false;
    if (!painter.testRenderHint(QPainter::Antialiasing) ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1 ||
        colour.alpha() != 255 || (cap != Qt::RoundCap && cap != Qt::FlatCap))
        return false;
    if (toDevice.type() > QTransform::TxScale || std::fabs(toDevice.m11()) != std::fabs(toDevice.m22()))
        return false;
    const qreal deviceWidth = width * std::fabs(toDevice.m11());
    if (!(deviceWidth > 1) || !std::isfinite(deviceWidth)) return false;
    QRect clip = image->rect();
    if (painter.hasClipping()) {
        const QTransform kept = painter.worldTransform();
        painter.resetTransform();
        const QRegion region = painter.clipRegion();
        painter.setWorldTransform(kept);
        if (region.rectCount() > 1) return false;
        clip = clip.intersected(region.boundingRect());
    }
    raster->target = WideSegmentTarget{reinterpret_cast<std::uint32_t*>(image->bits()),
                                       image->bytesPerLine() / 4,
                                       clip.left(),
                                       clip.top(),
                                       clip.left() + clip.width(),
                                       clip.top() + clip.height()};
    raster->pen = WideSegmentPen{colour.rgba() | 0xFF000000u, deviceWidth / 2, cap == Qt::RoundCap};
    raster->toDevice = toDevice;
    return true;
}

void DrawWideUserSegment(const WideRaster& raster, const WideSegmentTarget& target, const float* s) {
    const QPointF a = raster.toDevice.map(QPointF(s[0], s[1])), b = raster.toDevice.map(QPointF(s[2], s[3]));
    DrawWideSegment(target, raster.pen, a.x(), a.y(), b.x(), b.y());
}

} // namespace

// The PDF writer's output: the fork it is given, so the file is written through the descriptor the
// caller opened (no path is opened again) and every failed write is kept for the end to report.
class ForkDevice : public QIODevice {
  public:
    explicit ForkDevice(FSIORefNum fork) : fork_(fork) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }
    OSErr error() const { return error_; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        if (error_ != noErr) return -1;
        for (qint64 done = 0; done < length;) {
            ByteCount piece = ByteCount(std::min<qint64>(length - done, 1 << 30)), written = 0;
            OSErr err = FSWriteFork(fork_, fsAtMark, 0, piece, data + done, &written);
            if (err == noErr && written != piece) err = ioErr;
            if (err != noErr) {
                error_ = err;
                return -1;
            }
            done += piece;
        }
        return length;
    }

  private:
    FSIORefNum fork_;
    OSErr error_ = noErr;
};

struct CGContext {
    QPainter painter;
    std::unique_ptr<ForkDevice> output; // outlives the writer that writes into it
    std::unique_ptr<QPdfWriter> pdf;
    CGrafPtr port = nullptr;
    QTransform base; // base space (y up, origin bottom-left) to device
    GState gs;
    std::vector<GState> saved;
    QPainterPath path; // device space
    QTransform textMatrix;
    int pages = 0;
    CGContextBeforePaintHook beforePaint = nullptr;
    void* beforePaintUser = nullptr;
    // The circle arc the current path holds alone, in device space (angles in radians), while the path
    // has as many elements as the arc gave it.
    struct LoneArc {
        double cx, cy, radius, start, sweep;
        int elements = -1;
    } loneArc;

    // On vector devices (PDF files, printers) strokes of one pen and transform in a row go out as
    // one path: a file then holds each change of pen once instead of a graphics state per element.
    bool mergeStrokes = false;
    QPainterPath pendingStroke; // user space of pendingTransform
    QPen pendingPen;
    QTransform pendingTransform;
    int pendingElements = 0;

    void FlushStrokes() {
        if (pendingStroke.isEmpty()) return;
        painter.setWorldTransform(pendingTransform);
        painter.setOpacity(1);
        painter.strokePath(pendingStroke, pendingPen);
        pendingStroke = QPainterPath();
        pendingElements = 0;
    }

    // A pending batch of the caller is drawn before anything else touches the painter.
    void CallerBatch() {
        if (!beforePaint) return;
        CGContextBeforePaintHook hook = beforePaint;
        beforePaint = nullptr;
        hook(this, beforePaintUser);
    }

    void Before() {
        FlushStrokes();
        CallerBatch();
    }

    // Adds the current path to the merged strokes; false when it cannot join them (fills, dashes,
    // transparency), which are painted at once.
    bool MergeStroke() {
        if (!mergeStrokes || !gs.dash.empty() || gs.alpha < 1 || gs.stroke.alpha() != 255 || path.isEmpty())
            return false;
        const QTransform toDevice = UserToDevice();
        bool invertible = false;
        const QTransform toUser = toDevice.inverted(&invertible);
        if (!invertible) return false;
        CallerBatch();
        constexpr int kMaxPendingElements = 1 << 16;
        if (pendingStroke.isEmpty() || pendingElements > kMaxPendingElements ||
            pendingTransform != toDevice || !SamePendingPen()) {
            FlushStrokes();
            pendingPen = StrokePen();
            pendingTransform = toDevice;
        }
        // Element by element: a mapped copy of each path would cost an allocation per line.
        const int count = path.elementCount();
        for (int i = 0; i < count; ++i) {
            const QPainterPath::Element& e = path.elementAt(i);
            const QPointF p = toUser.map(QPointF(e.x, e.y));
            if (e.type == QPainterPath::MoveToElement) {
                pendingStroke.moveTo(p);
            } else if (e.type == QPainterPath::LineToElement) {
                pendingStroke.lineTo(p);
            } else if (e.type == QPainterPath::CurveToElement && i + 2 < count) {
                const QPainterPath::Element& c2 = path.elementAt(i + 1);
                const QPainterPath::Element& end = path.elementAt(i + 2);
                pendingStroke.cubicTo(p, toUser.map(QPointF(c2.x, c2.y)), toUser.map(QPointF(end.x, end.y)));
                i += 2;
            }
        }
        pendingElements += count;
        path = QPainterPath();
        Touched();
        return true;
    }

    // The pending pen is the one the graphics state gives now (solid, since dashes never merge).
    bool SamePendingPen() const {
        return pendingPen.style() == Qt::SolidLine && pendingPen.color() == gs.stroke &&
               pendingPen.widthF() == gs.lineWidth && pendingPen.capStyle() == QtCap(gs.cap) &&
               pendingPen.joinStyle() == QtJoin(gs.join) && pendingPen.miterLimit() == gs.miterLimit;
    }

    QTransform UserToDevice() const { return gs.ctm * base; }

    void Touched() {
        ++touches;
        if (port) PlatformPortChanged(port, nullptr);
    }

    // Wide strokes our own rasteriser drew since anything else was drawn or the pen changed, by their
    // device geometry: one drawn again over itself (copies of a block at one spot) is skipped, so a
    // redraw costs the pixels it covers, not the overlap.
    struct DrawnStroke {
        double geometry[5];
        std::uint32_t generation;
    };
    static constexpr size_t kDrawnStrokes = 4096; // a power of two
    std::vector<DrawnStroke> drawnStrokes;
    std::uint32_t strokeGeneration = 1;
    std::uint64_t touches = 0, touchesAfterWideStroke = ~std::uint64_t(0);
    WideSegmentPen lastWidePen{};
    WideSegmentTarget lastWideTarget{};

    bool DrawnAlready(const WideRaster& raster, const double (&geometry)[5]) {
        const WideSegmentPen& pen = raster.pen;
        const WideSegmentTarget& t = raster.target;
        if (touches != touchesAfterWideStroke || pen.colour != lastWidePen.colour ||
            pen.halfWidth != lastWidePen.halfWidth || pen.roundCaps != lastWidePen.roundCaps ||
            t.bits != lastWideTarget.bits || t.clipLeft != lastWideTarget.clipLeft ||
            t.clipTop != lastWideTarget.clipTop || t.clipRight != lastWideTarget.clipRight ||
            t.clipBottom != lastWideTarget.clipBottom) {
            if (++strokeGeneration == 0) {
                for (DrawnStroke& d : drawnStrokes)
                    d.generation = 0;
                strokeGeneration = 1;
            }
            lastWidePen = pen;
            lastWideTarget = t;
        }
        if (drawnStrokes.empty()) drawnStrokes.assign(kDrawnStrokes, DrawnStroke{});
        std::uint64_t hash = 0x9E3779B97F4A7C15ull;
        for (double g : geometry) {
            std::uint64_t bits;
            std::memcpy(&bits, &g, sizeof bits);
            hash = (hash ^ bits) * 0xBF58476D1CE4E5B9ull;
        }
        DrawnStroke& slot = drawnStrokes[(hash >> 40) & (kDrawnStrokes - 1)];
        if (slot.generation == strokeGeneration && std::memcmp(slot.geometry, geometry, sizeof geometry) == 0)
            return true;
        std::memcpy(slot.geometry, geometry, sizeof geometry);
        slot.generation = strokeGeneration;
        return false;
    }

    void DrawWideSegmentOnce(const WideRaster& raster, double x1, double y1, double x2, double y2) {
        // One direction for both, so a line drawn back over itself is the same stroke.
        const bool back = x2 < x1 || (x2 == x1 && y2 < y1);
        const double geometry[5] = {back ? x2 : x1, back ? y2 : y1, back ? x1 : x2, back ? y1 : y2, 0};
        if (!DrawnAlready(raster, geometry)) DrawWideSegment(raster.target, raster.pen, x1, y1, x2, y2);
    }

    // After a wide stroke: nothing else has been drawn since.
    void WideStrokeDrawn() {
        Touched();
        touchesAfterWideStroke = touches;
    }

    void ApplyHints() {
        painter.setRenderHint(QPainter::Antialiasing, gs.antialias);
        painter.setRenderHint(QPainter::TextAntialiasing, gs.antialias);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, gs.antialias);
    }

    // The current path in user space, ready to paint with the painter in user space; false when the
    // transform cannot be inverted or there is nothing.
    bool BeginPaint(QPainterPath* userPath, Qt::FillRule rule) {
        bool invertible = false;
        QTransform inv = UserToDevice().inverted(&invertible);
        if (!invertible || path.isEmpty()) return false;
        *userPath = inv.map(path);
        userPath->setFillRule(rule);
        painter.setWorldTransform(UserToDevice());
        painter.setOpacity(gs.alpha);
        return true;
    }

    QPen StrokePen() const {
        QPen pen(gs.stroke);
        pen.setWidthF(gs.lineWidth);
        pen.setCapStyle(QtCap(gs.cap));
        pen.setJoinStyle(QtJoin(gs.join));
        pen.setMiterLimit(gs.miterLimit);
        if (!gs.dash.empty()) {
            // Qt measures dashes in line widths and wants pairs.
            double w = gs.lineWidth > 0 ? gs.lineWidth : 1;
            QList<qreal> pattern;
            for (int rep = 0; rep < (gs.dash.size() % 2 ? 2 : 1); ++rep)
                for (CGFloat d : gs.dash)
                    pattern.append(std::max(d, 1e-6) / w);
            pen.setDashPattern(pattern);
            pen.setDashOffset(gs.dashPhase / w);
        }
        return pen;
    }

    QBrush FillBrush() const {
        if (!gs.patternFill) return QBrush(gs.fill);
        QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
        tile.fill(Qt::transparent);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if ((gs.pattern.pat[y] >> (7 - x)) & 1) tile.setPixelColor(x, y, gs.patternColour);
        QBrush brush(tile);
        // The pattern stays on the device grid whatever the transform.
        brush.setTransform(QTransform::fromScale(gs.patternCell, gs.patternCell) * UserToDevice().inverted());
        return brush;
    }

    void Paint(bool fill, bool eo, bool stroke) {
        if (stroke && !fill && MergeStroke()) return;
        if (stroke && !fill && (StrokeWideSegment() || StrokeWideArc())) return;
        Before();
        QPainterPath p;
        if (BeginPaint(&p, eo ? Qt::OddEvenFill : Qt::WindingFill)) {
            if (fill) painter.fillPath(p, FillBrush());
            if (stroke) painter.strokePath(p, StrokePen());
            Touched();
        }
        path = QPainterPath();
    }

    // A path of separate straight segments (a line, or the dashes of one) stroked solid and wider than
    // a pixel on an image, by our own rasteriser, as the batches draw them; false when it is not such a
    // stroke.
    bool StrokeWideSegment() {
        const int count = path.elementCount();
        if (port == nullptr || pdf || count < 2 || count % 2 != 0 || !gs.dash.empty() || gs.alpha != 1)
            return false;
        for (int i = 0; i < count; i += 2)
            if (path.elementAt(i).type != QPainterPath::MoveToElement ||
                path.elementAt(i + 1).type != QPainterPath::LineToElement)
                return false;
        Before();
        painter.setOpacity(1);
        WideRaster raster;
        if (!PrepareWideRaster(painter, UserToDevice(), gs.stroke, gs.lineWidth, QtCap(gs.cap), &raster))
            return false;
        for (int i = 0; i < count; i += 2) {
            const QPainterPath::Element& from = path.elementAt(i);
            const QPainterPath::Element& to = path.elementAt(i + 1);
            DrawWideSegmentOnce(raster, from.x, from.y, to.x, to.y);
        }
        WideStrokeDrawn();
        path = QPainterPath();
        return true;
    }

    // The same for a path of one circle arc.
    bool StrokeWideArc() {
        if (port == nullptr || pdf || loneArc.elements != path.elementCount() || !gs.dash.empty() ||
            gs.alpha != 1)
            return false;
        Before();
        painter.setOpacity(1);
        WideRaster raster;
        if (!PrepareWideRaster(painter, UserToDevice(), gs.stroke, gs.lineWidth, QtCap(gs.cap), &raster))
            return false;
        const double geometry[5] = {loneArc.cx, loneArc.cy, loneArc.radius, loneArc.start, loneArc.sweep};
        if (!DrawnAlready(raster, geometry))
            DrawWideArc(raster.target, raster.pen, loneArc.cx, loneArc.cy, loneArc.radius, loneArc.start,
                        loneArc.sweep);
        WideStrokeDrawn();
        path = QPainterPath();
        loneArc.elements = -1;
        return true;
    }

    void AddUser(const QPainterPath& user) { path.addPath(UserToDevice().map(user)); }

    ShapedText& Shaped(const char* bytes, size_t length) const {
        std::string key;
        key.reserve(length + 8);
        for (int v : {int(gs.fontNumber), int(gs.fontFace), int(gs.encoding), int(gs.antialias)})
            key.push_back(char(v & 0xFF)), key.push_back(char((v >> 8) & 0xFF));
        key.append(bytes, length);
        auto found = gShapedTexts.find(key);
        if (found != gShapedTexts.end()) return found->second;
        if (gShapedTexts.size() >= kShapedCacheLimit) gShapedTexts.clear();
        ShapedText shaped;
        shaped.advance = QFontMetricsF(Font()).horizontalAdvance(Decode(bytes, length, gs.encoding));
        return gShapedTexts.emplace(std::move(key), std::move(shaped)).first->second;
    }

    double BaseAdvance(const char* bytes, size_t length) const { return Shaped(bytes, length).advance; }

    // The glyphs of the text laid out on one line, its baseline at y = 0.
    void DrawShaped(ShapedText& shaped, const QString& text, const QFont& font) {
        if (!shaped.shaped) {
            QTextLayout layout(text, font);
            QTextOption option;
            option.setWrapMode(QTextOption::NoWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            layout.endLayout();
            if (line.isValid()) shaped.ascent = line.ascent();
            shaped.runs = layout.glyphRuns();
            shaped.shaped = true;
        }
        for (const QGlyphRun& run : shaped.runs)
            painter.drawGlyphRun(QPointF(0, -shaped.ascent), run);
    }

    QFont Font() const {
        QFont f = PlatformFont(gs.fontNumber, SInt16(kFontBase), gs.fontFace);
        f.setStyleStrategy(gs.antialias ? QFont::PreferAntialias : QFont::NoAntialias);
        return f;
    }
};

namespace {

CGContext* Begin(CGContext* c, QPaintDevice* device, double height) {
    if (!c->painter.begin(device)) {
        delete c;
        return nullptr;
    }
    c->base = QTransform(1, 0, 0, -1, 0, height);
    QPaintEngine* engine = c->painter.paintEngine();
    c->mergeStrokes = engine && engine->type() == QPaintEngine::Pdf;
    c->gs.antialias = gDefaultAntialias;
    c->ApplyHints();
    return c;
}

} // namespace

const CGAffineTransform CGAffineTransformIdentity = {1, 0, 0, 1, 0, 0};

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty) {
    return {a, b, c, d, tx, ty};
}

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
    return {1, 0, 0, 1, tx, ty};
}

CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}

CGAffineTransform CGAffineTransformMakeRotation(CGFloat radians) {
    return {std::cos(radians), std::sin(radians), -std::sin(radians), std::cos(radians), 0, 0};
}

CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2) {
    return FromQ(ToQ(t1) * ToQ(t2));
}

CGAffineTransform CGAffineTransformInvert(CGAffineTransform t) {
    bool ok = false;
    QTransform inv = ToQ(t).inverted(&ok);
    return ok ? FromQ(inv) : t;
}

CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t) {
    return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

// Contexts.

CGContext* PlatformCreateCGContext(QPaintDevice* device, double, double height) {
    if (!device) return nullptr;
    return Begin(new CGContext, device, height);
}

OSStatus QDBeginCGContext(CGrafPtr port, CGContextRef* context) {
    if (!context) return paramErr;
    *context = nullptr;
    if (!IsValidPort(port)) return paramErr;
    auto* c = Begin(new CGContext, port->image.get(), port->portRect.bottom - port->portRect.top);
    if (!c) return memFullErr;
    c->port = port;
    QRegion visible = PlatformRegion(port->visRgn)
                          .intersected(QRegion(port->portRect.left, port->portRect.top,
                                               port->portRect.right - port->portRect.left,
                                               port->portRect.bottom - port->portRect.top));
    c->painter.setClipRegion(visible.translated(-port->portRect.left, -port->portRect.top));
    ++port->openContexts;
    *context = c;
    return noErr;
}

OSStatus QDEndCGContext(CGrafPtr port, CGContextRef* context) {
    if (!context || !*context) return paramErr;
    if (IsValidPort(port) && (*context)->port == port) --port->openContexts;
    CGContextRelease(*context);
    *context = nullptr;
    return noErr;
}

void QDFlushPortBuffer(CGrafPtr port, RgnHandle) {
    if (!IsValidPort(port)) return;
    PlatformPortChanged(port, nullptr);
    PlatformProcessQtEvents();
}

CGContextRef CGPDFContextCreateWithFork(FSIORefNum fork, const CGRect* mediaBox) {
    if (FSGetForkRef(fork) == nullptr || !mediaBox || mediaBox->size.width <= 0 || mediaBox->size.height <= 0)
        return nullptr;
    PlatformLinkFastPdfCompression();
    auto c = std::make_unique<CGContext>();
    c->output = std::make_unique<ForkDevice>(fork);
    c->pdf = std::make_unique<QPdfWriter>(c->output.get());
    c->pdf->setResolution(72);
    c->pdf->setCreator(QStringLiteral("Draftwerk"));
    c->pdf->setPageSize(QPageSize(QSizeF(mediaBox->size.width, mediaBox->size.height), QPageSize::Point));
    c->pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    QPdfWriter* device = c->pdf.get();
    return Begin(c.release(), device, mediaBox->size.height);
}

void CGContextBeginPage(CGContextRef context, const CGRect* mediaBox) {
    if (!context) return;
    if (context->pdf) {
        if (mediaBox && mediaBox->size.width > 0 && mediaBox->size.height > 0) {
            context->pdf->setPageSize(
                QPageSize(QSizeF(mediaBox->size.width, mediaBox->size.height), QPageSize::Point));
            context->base = QTransform(1, 0, 0, -1, 0, mediaBox->size.height);
        }
        if (context->pages > 0) {
            context->FlushStrokes();
            context->pdf->newPage();
        }
    }
    ++context->pages;
}

void CGContextEndPage(CGContextRef) {}

OSStatus CGContextRelease(CGContextRef context) {
    if (!context) return noErr;
    context->Before();
    bool ended = context->painter.end();
    context->Touched();
    OSStatus result = context->output && context->output->error() != noErr ? context->output->error()
                      : ended                                              ? OSStatus(noErr)
                                                                           : OSStatus(ioErr);
    delete context;
    return result;
}

void CGContextFlush(CGContextRef context) {
    if (context) context->Touched();
}

void CGContextSynchronize(CGContextRef context) {
    CGContextFlush(context);
}

void CGSetDefaultShouldAntialias(Boolean on) {
    gDefaultAntialias = on;
}

void CGContextSetShouldAntialias(CGContextRef context, Boolean on) {
    if (!context) return;
    context->Before();
    context->gs.antialias = on;
    context->ApplyHints();
}

// Graphics state.

void CGContextSaveGState(CGContextRef context) {
    if (!context) return;
    // The painter's state is saved as it stands: merged strokes keep their own transform and pen.
    context->painter.save();
    context->saved.push_back(context->gs);
}

void CGContextRestoreGState(CGContextRef context) {
    if (!context || context->saved.empty()) return;
    context->Before();
    context->painter.restore();
    context->gs = context->saved.back();
    context->saved.pop_back();
    context->ApplyHints();
}

void CGContextSetLineWidth(CGContextRef context, CGFloat width) {
    if (context) context->gs.lineWidth = std::max<CGFloat>(0, width);
}

void CGContextSetLineCap(CGContextRef context, CGLineCap cap) {
    if (context) context->gs.cap = cap;
}

void CGContextSetLineJoin(CGContextRef context, CGLineJoin join) {
    if (context) context->gs.join = join;
}

void CGContextSetMiterLimit(CGContextRef context, CGFloat limit) {
    if (context) context->gs.miterLimit = limit;
}

void CGContextSetLineDash(CGContextRef context, CGFloat phase, const CGFloat* lengths, size_t count) {
    if (!context) return;
    context->gs.dash.clear();
    context->gs.dashPhase = phase;
    if (!lengths) return;
    CGFloat total = 0;
    for (size_t i = 0; i < count; ++i)
        total += std::max<CGFloat>(0, lengths[i]);
    if (total <= 0) return; // all zero: solid
    for (size_t i = 0; i < count; ++i)
        context->gs.dash.push_back(std::max<CGFloat>(0, lengths[i]));
}

static QColor Colour(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    auto clamp = [](CGFloat v) { return std::clamp<CGFloat>(v, 0, 1); };
    return QColor::fromRgbF(float(clamp(r)), float(clamp(g)), float(clamp(b)), float(clamp(a)));
}

void CGContextSetRGBStrokeColor(CGContextRef context, CGFloat r, CGFloat g, CGFloat b, CGFloat alpha) {
    if (context) context->gs.stroke = Colour(r, g, b, alpha);
}

void CGContextSetRGBFillColor(CGContextRef context, CGFloat r, CGFloat g, CGFloat b, CGFloat alpha) {
    if (!context) return;
    context->gs.fill = Colour(r, g, b, alpha);
    context->gs.patternFill = false;
}

void CGContextSetGrayStrokeColor(CGContextRef context, CGFloat gray, CGFloat alpha) {
    CGContextSetRGBStrokeColor(context, gray, gray, gray, alpha);
}

void CGContextSetGrayFillColor(CGContextRef context, CGFloat gray, CGFloat alpha) {
    CGContextSetRGBFillColor(context, gray, gray, gray, alpha);
}

void CGContextSetAlpha(CGContextRef context, CGFloat alpha) {
    if (context) context->gs.alpha = std::clamp<CGFloat>(alpha, 0, 1);
}

void CGContextSetFillPattern8x8(CGContextRef context, const Pattern* pattern, CGFloat r, CGFloat g, CGFloat b,
                                CGFloat alpha, CGFloat cellSize) {
    if (!context || !pattern) return;
    context->gs.patternFill = true;
    context->gs.pattern = *pattern;
    context->gs.patternColour = Colour(r, g, b, alpha);
    context->gs.patternCell = cellSize > 0 ? cellSize : 1;
}

// Transforms.

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty) {
    if (context) context->Before();
    if (context) context->gs.ctm = QTransform::fromTranslate(tx, ty) * context->gs.ctm;
}

void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy) {
    if (context) context->Before();
    if (context) context->gs.ctm = QTransform::fromScale(sx, sy) * context->gs.ctm;
}

void CGContextRotateCTM(CGContextRef context, CGFloat radians) {
    if (context) context->Before();
    if (context) context->gs.ctm = QTransform().rotateRadians(radians) * context->gs.ctm;
}

void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform) {
    if (context) context->Before();
    if (context) context->gs.ctm = ToQ(transform) * context->gs.ctm;
}

CGAffineTransform CGContextGetCTM(CGContextRef context) {
    return context ? FromQ(context->gs.ctm) : CGAffineTransformIdentity;
}

// The current path.

void CGContextBeginPath(CGContextRef context) {
    if (context) context->path = QPainterPath();
}

void CGContextMoveToPoint(CGContextRef context, CGFloat x, CGFloat y) {
    if (context) context->path.moveTo(context->UserToDevice().map(QPointF(x, y)));
}

void CGContextAddLineToPoint(CGContextRef context, CGFloat x, CGFloat y) {
    if (context) context->path.lineTo(context->UserToDevice().map(QPointF(x, y)));
}

void CGContextAddCurveToPoint(CGContextRef context, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y,
                              CGFloat x, CGFloat y) {
    if (!context) return;
    QTransform m = context->UserToDevice();
    context->path.cubicTo(m.map(QPointF(cp1x, cp1y)), m.map(QPointF(cp2x, cp2y)), m.map(QPointF(x, y)));
}

void CGContextAddQuadCurveToPoint(CGContextRef context, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y) {
    if (!context) return;
    QTransform m = context->UserToDevice();
    context->path.quadTo(m.map(QPointF(cpx, cpy)), m.map(QPointF(x, y)));
}

void CGContextAddArc(CGContextRef context, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
                     CGFloat endAngle, int clockwise) {
    if (!context) return;
    const bool alone = context->path.elementCount() == 0;
    const QTransform m = context->UserToDevice();
    AppendArc(context->path, !alone, x, y, radius, startAngle, endAngle, clockwise != 0, m);
    context->loneArc.elements = -1;
    // A path of this arc alone, under a transform that keeps circles circles, can be stroked by our own
    // rasteriser: its sweep as the curves run, mirrored when the transform mirrors.
    if (!alone || m.type() > QTransform::TxScale || std::fabs(m.m11()) != std::fabs(m.m22()) || !(radius > 0))
        return;
    const double full = 2 * M_PI;
    double sweep = endAngle - startAngle;
    if (!clockwise)
        sweep = sweep >= full ? full : sweep < 0 ? std::fmod(std::fmod(sweep, full) + full, full) : sweep;
    else
        sweep = sweep <= -full ? -full : sweep > 0 ? std::fmod(std::fmod(sweep, full) - full, full) : sweep;
    const bool mirrored = m.m11() * m.m22() < 0;
    const QPointF centre = m.map(QPointF(x, y));
    context->loneArc =
        CGContext::LoneArc{centre.x(),
                           centre.y(),
                           radius * std::fabs(m.m11()),
                           std::atan2(m.m22() * std::sin(startAngle), m.m11() * std::cos(startAngle)),
                           mirrored ? -sweep : sweep,
                           context->path.elementCount()};
}

void CGContextAddRect(CGContextRef context, CGRect rect) {
    if (context) context->AddUser(RectPath(rect));
}

void CGContextAddEllipseInRect(CGContextRef context, CGRect rect) {
    if (context) context->AddUser(EllipsePath(rect));
}

void CGContextAddLines(CGContextRef context, const CGPoint* points, size_t count) {
    if (!context || !points || count == 0) return;
    CGContextMoveToPoint(context, points[0].x, points[0].y);
    for (size_t i = 1; i < count; ++i)
        CGContextAddLineToPoint(context, points[i].x, points[i].y);
}

void CGContextClosePath(CGContextRef context) {
    if (context) context->path.closeSubpath();
}

void CGContextAddPath(CGContextRef context, CGPathRef path) {
    if (context && path) context->AddUser(path->path);
}

Boolean CGContextIsPathEmpty(CGContextRef context) {
    return !context || context->path.elementCount() == 0;
}

CGPoint CGContextGetPathCurrentPoint(CGContextRef context) {
    if (!context || context->path.elementCount() == 0) return {0, 0};
    QPointF p = context->UserToDevice().inverted().map(context->path.currentPosition());
    return {p.x(), p.y()};
}

// Painting.

void CGContextStrokePath(CGContextRef context) {
    if (context) context->Paint(false, false, true);
}

void CGContextFillPath(CGContextRef context) {
    if (context) context->Paint(true, false, false);
}

void CGContextEOFillPath(CGContextRef context) {
    if (context) context->Paint(true, true, false);
}

void CGContextDrawPath(CGContextRef context, CGPathDrawingMode mode) {
    if (!context) return;
    bool eo = mode == kCGPathEOFill || mode == kCGPathEOFillStroke;
    bool fill = mode != kCGPathStroke;
    bool stroke = mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke;
    context->Paint(fill, eo, stroke);
}

void CGContextStrokeRect(CGContextRef context, CGRect rect) {
    if (!context) return;
    context->path = QPainterPath();
    context->AddUser(RectPath(rect));
    context->Paint(false, false, true);
}

void CGContextStrokeRectWithWidth(CGContextRef context, CGRect rect, CGFloat width) {
    if (!context) return;
    CGContextSaveGState(context);
    CGContextSetLineWidth(context, width);
    CGContextStrokeRect(context, rect);
    CGContextRestoreGState(context);
}

void CGContextFillRect(CGContextRef context, CGRect rect) {
    if (!context) return;
    context->path = QPainterPath();
    context->AddUser(RectPath(rect));
    context->Paint(true, false, false);
}

void CGContextFillEllipseInRect(CGContextRef context, CGRect rect) {
    if (!context) return;
    context->path = QPainterPath();
    context->AddUser(EllipsePath(rect));
    context->Paint(true, false, false);
}

void CGContextStrokeEllipseInRect(CGContextRef context, CGRect rect) {
    if (!context) return;
    context->path = QPainterPath();
    context->AddUser(EllipsePath(rect));
    context->Paint(false, false, true);
}

void CGContextStrokeLineSegments(CGContextRef context, const CGPoint* points, size_t count) {
    if (!context || !points) return;
    context->path = QPainterPath();
    for (size_t i = 0; i + 1 < count; i += 2) {
        CGContextMoveToPoint(context, points[i].x, points[i].y);
        CGContextAddLineToPoint(context, points[i + 1].x, points[i + 1].y);
    }
    context->Paint(false, false, true);
}

void CGContextClearRect(CGContextRef context, CGRect rect) {
    if (!context || !context->port) return;
    context->Before();
    context->painter.setWorldTransform(context->UserToDevice());
    context->painter.fillRect(QRectF(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height),
                              Qt::white);
    context->Touched();
}

namespace {

// A batch this large on a port's image is drawn in horizontal bands on several threads; a wide line
// counts as many thin ones, as Qt strokes it through its general stroker.
constexpr size_t kBandedBatchSize = 20000;
constexpr size_t kWideLineWeight = 16;
constexpr int kMaxBands = 8; // a band's number fits a byte
constexpr int kMinBandHeight = 32;

int BandCount(const CGContext* context, size_t count) {
    if (count < kBandedBatchSize || context->port == nullptr || context->pdf) return 1;
    auto* image = dynamic_cast<QImage*>(context->painter.device());
    if (image == nullptr || image->depth() != 32) return 1;
    if (context->painter.compositionMode() != QPainter::CompositionMode_SourceOver) return 1;
    if (context->UserToDevice().type() == QTransform::TxProject) return 1;
    int threads = int(std::min<unsigned>(std::thread::hardware_concurrency(), kMaxBands));
    // A clip of a few rows (the strip a scroll brings into view) is drawn on this thread.
    int rows = image->height();
    if (context->painter.hasClipping())
        rows = std::min(
            rows,
            int(std::ceil(
                context->painter.worldTransform().mapRect(context->painter.clipBoundingRect()).height())));
    return std::max(1, std::min(threads, rows / kMinBandHeight));
}

// Hands a batch's lines and dots (floats, user space) to a painter a chunk at a time, so a batch of
// millions needs no second copy. Qt strokes a wide pen's lines handed over together as one outline,
// which costs more than line by line; each line alone still saves the path and pen of a stroke.
class BatchSink {
  public:
    BatchSink(QPainter& painter, bool eachLine) : painter_(painter), eachLine_(eachLine) {}
    ~BatchSink() { Flush(); }
    void Line(const float* s) {
        lines_[lineCount_++] = QLineF(s[0], s[1], s[2], s[3]);
        if (lineCount_ == kChunk) FlushLines();
    }
    void Dot(const float* d) {
        FlushLines();
        dots_[dotCount_++] = QPointF(d[0], d[1]);
        if (dotCount_ == kChunk) FlushDots();
    }
    void Flush() {
        FlushLines();
        FlushDots();
    }

  private:
    static constexpr int kChunk = 1024;
    void FlushLines() {
        if (lineCount_ == 0) return;
        if (eachLine_) {
            for (int i = 0; i < lineCount_; ++i)
                painter_.drawLine(lines_[i]);
        } else {
            painter_.drawLines(lines_, lineCount_);
        }
        lineCount_ = 0;
    }
    void FlushDots() {
        if (dotCount_ > 0) painter_.drawPoints(dots_, dotCount_);
        dotCount_ = 0;
    }
    QPainter& painter_;
    bool eachLine_;
    QLineF lines_[kChunk];
    QPointF dots_[kChunk];
    int lineCount_ = 0, dotCount_ = 0;
};

struct Batch {
    const float* segments;
    size_t segmentCount;
    const float* dots;
    size_t dotCount;
};

// Each band's painter has an image of its own over the port's pixels, clipped to the band's rows, so
// the painters write to no common pixel. Every band draws every segment and dot that touches its rows,
// in the batch's order: Qt sets the same pixels of a line or an outline whatever the clip, so the
// picture is the one a single painter draws, and a long line costs no band more than its rows.
void DrawBatchInBands(CGContext* context, int bands, const QPen& pen, bool eachLine, const Batch& batch,
                      const WideRaster* raster) {
    QPainter& painter = context->painter;
    auto* image = static_cast<QImage*>(painter.device());
    const QTransform toDevice = painter.worldTransform();
    painter.resetTransform();
    const bool clipped = painter.hasClipping();
    const QRegion clip = clipped ? painter.clipRegion() : QRegion();
    painter.setWorldTransform(toDevice);
    const QPainter::RenderHints hints = painter.renderHints();
    const qreal opacity = painter.opacity();
    uchar* bits = const_cast<uchar*>(image->constBits());
    const qsizetype stride = image->bytesPerLine();
    const int width = image->width(), height = image->height();
    const qreal margin = std::max<qreal>(1, pen.widthF()) + 2;
    // Device rows of a user point: the transform is affine, so only its y row is needed.
    const qreal ry = toDevice.m12(), cy = toDevice.m22(), dy = toDevice.dy();
    auto rowOf = [ry, cy, dy](const float* p) { return ry * p[0] + cy * p[1] + dy; };
    auto bandTop = [height, bands](int band) { return int(qint64(height) * band / bands); };
    auto bandOfRow = [&](int row) {
        int band = int(qint64(row) * bands / height);
        while (band > 0 && row < bandTop(band))
            --band;
        while (band + 1 < bands && row >= bandTop(band + 1))
            ++band;
        return band;
    };
    // The bands a span of device rows touches, first in the low byte and last in the high; none when
    // it lies off the image (or is not a number).
    constexpr std::uint16_t kNoBand = 0xFFFF;
    auto bandsOf = [&](qreal y1, qreal y2) -> std::uint16_t {
        qreal low = std::min(y1, y2) - margin, high = std::max(y1, y2) + margin;
        if (!(high >= 0 && low < height)) return kNoBand;
        int first = bandOfRow(low <= 0 ? 0 : int(low));
        int last = bandOfRow(high >= height - 1 ? height - 1 : int(high));
        return std::uint16_t(first | last << 8);
    };
    std::vector<std::uint16_t> segmentBands(batch.segmentCount), dotBands(batch.dotCount);
    auto sortChunk = [&](int chunk) {
        const size_t from = batch.segmentCount * size_t(chunk) / size_t(bands);
        const size_t to = batch.segmentCount * size_t(chunk + 1) / size_t(bands);
        for (size_t i = from; i < to; ++i) {
            const float* s = batch.segments + 4 * i;
            segmentBands[i] = bandsOf(rowOf(s), rowOf(s + 2));
        }
        const size_t dotsFrom = batch.dotCount * size_t(chunk) / size_t(bands);
        const size_t dotsTo = batch.dotCount * size_t(chunk + 1) / size_t(bands);
        for (size_t i = dotsFrom; i < dotsTo; ++i) {
            qreal y = rowOf(batch.dots + 2 * i);
            dotBands[i] = bandsOf(y, y);
        }
    };
    auto touches = [](std::uint16_t range, int band) {
        return range != kNoBand && (range & 0xFF) <= band && range >> 8 >= band;
    };
    auto drawBand = [&](int band) {
        const int top = bandTop(band), bottom = bandTop(band + 1);
        QImage whole(bits, width, height, stride, image->format());
        QPainter p(&whole);
        p.setRenderHints(hints);
        p.setOpacity(opacity);
        const QRegion rows(0, top, width, bottom - top);
        p.setClipRegion(clipped ? clip.intersected(rows) : rows);
        p.setWorldTransform(toDevice);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        BatchSink sink(p, eachLine);
        if (raster != nullptr) {
            WideSegmentTarget rows = raster->target;
            rows.clipTop = std::max(rows.clipTop, top);
            rows.clipBottom = std::min(rows.clipBottom, bottom);
            for (size_t i = 0; i < batch.segmentCount; ++i)
                if (touches(segmentBands[i], band))
                    DrawWideUserSegment(*raster, rows, batch.segments + 4 * i);
        } else {
            for (size_t i = 0; i < batch.segmentCount; ++i)
                if (touches(segmentBands[i], band)) sink.Line(batch.segments + 4 * i);
        }
        for (size_t i = 0; i < batch.dotCount; ++i)
            if (touches(dotBands[i], band)) sink.Dot(batch.dots + 2 * i);
    };
    auto onEveryBand = [bands](auto work) {
        std::vector<std::thread> threads;
        for (int band = 1; band < bands; ++band)
            threads.emplace_back(work, band);
        work(0);
        for (std::thread& t : threads)
            t.join();
    };
    onEveryBand(sortChunk);
    onEveryBand(drawBand);
}

} // namespace

void CGContextStrokeSegmentBatch(CGContextRef context, const CGSegmentPen* pen, const float* segments,
                                 size_t segmentCount, const float* dots, size_t dotCount) {
    if (!context || !pen || (segmentCount == 0 && dotCount == 0)) return;
    QPen qpen(Colour(pen->r, pen->g, pen->b, pen->alpha));
    qpen.setWidthF(std::max<CGFloat>(0, pen->width));
    qpen.setCapStyle(QtCap(pen->cap));
    qpen.setJoinStyle(Qt::RoundJoin);
    context->FlushStrokes();
    QPainter& painter = context->painter;
    painter.setWorldTransform(context->UserToDevice());
    painter.setOpacity(context->gs.alpha);
    painter.setPen(qpen);
    painter.setBrush(Qt::NoBrush);
    if (pen->aliased && context->gs.antialias) painter.setRenderHint(QPainter::Antialiasing, false);
    const Batch batch{segments, segments ? segmentCount : 0, dots, dots ? dotCount : 0};
    const bool eachLine = pen->width > 1;
    int bands = BandCount(context, batch.segmentCount * (eachLine ? kWideLineWeight : 1) + batch.dotCount);
    WideRaster raster;
    const bool ownRaster = eachLine && PrepareWideRaster(painter, painter.worldTransform(), qpen.color(),
                                                         qpen.widthF(), qpen.capStyle(), &raster);
    if (bands > 1) {
        DrawBatchInBands(context, bands, qpen, eachLine, batch, ownRaster ? &raster : nullptr);
    } else if (ownRaster && batch.dotCount == 0) {
        // Wide segments alone join the strokes drawn around them (the lines and circles of copies of one
        // block at one spot): one lying on another is drawn once.
        for (size_t i = 0; i < batch.segmentCount; ++i) {
            const float* s = batch.segments + 4 * i;
            const QPointF a = raster.toDevice.map(QPointF(s[0], s[1]));
            const QPointF b = raster.toDevice.map(QPointF(s[2], s[3]));
            context->DrawWideSegmentOnce(raster, a.x(), a.y(), b.x(), b.y());
        }
        if (pen->aliased && context->gs.antialias) painter.setRenderHint(QPainter::Antialiasing, true);
        context->WideStrokeDrawn();
        return;
    } else {
        BatchSink sink(painter, eachLine);
        for (size_t i = 0; i < batch.segmentCount; ++i)
            if (ownRaster)
                DrawWideUserSegment(raster, raster.target, batch.segments + 4 * i);
            else
                sink.Line(batch.segments + 4 * i);
        for (size_t i = 0; i < batch.dotCount; ++i)
            sink.Dot(batch.dots + 2 * i);
    }
    if (pen->aliased && context->gs.antialias) painter.setRenderHint(QPainter::Antialiasing, true);
    context->Touched();
}

void CGContextSetBeforePaintHook(CGContextRef context, CGContextBeforePaintHook hook, void* user) {
    if (!context) return;
    context->beforePaint = hook;
    context->beforePaintUser = user;
}

// Clipping.

static void ClipWith(CGContextRef context, Qt::FillRule rule) {
    context->Before();
    QPainterPath p;
    if (context->BeginPaint(&p, rule)) context->painter.setClipPath(p, Qt::IntersectClip);
    context->path = QPainterPath();
}

void CGContextClip(CGContextRef context) {
    if (context) ClipWith(context, Qt::WindingFill);
}

void CGContextEOClip(CGContextRef context) {
    if (context) ClipWith(context, Qt::OddEvenFill);
}

void CGContextClipToRect(CGContextRef context, CGRect rect) {
    if (!context) return;
    QPainterPath kept = context->path;
    context->path = QPainterPath();
    context->AddUser(RectPath(rect));
    ClipWith(context, Qt::WindingFill);
    context->path = kept;
}

// Path objects.

CGMutablePathRef CGPathCreateMutable() {
    return new CGPath;
}

void CGPathRelease(CGPathRef path) {
    delete path;
}

static QTransform Of(const CGAffineTransform* m) {
    return m ? ToQ(*m) : QTransform();
}

void CGPathMoveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y) {
    if (path) path->path.moveTo(Of(m).map(QPointF(x, y)));
}

void CGPathAddLineToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y) {
    if (path) path->path.lineTo(Of(m).map(QPointF(x, y)));
}

void CGPathAddCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cp1x, CGFloat cp1y,
                           CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y) {
    if (!path) return;
    QTransform t = Of(m);
    path->path.cubicTo(t.map(QPointF(cp1x, cp1y)), t.map(QPointF(cp2x, cp2y)), t.map(QPointF(x, y)));
}

void CGPathAddArc(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y, CGFloat radius,
                  CGFloat startAngle, CGFloat endAngle, bool clockwise) {
    if (path)
        AppendArc(path->path, path->path.elementCount() > 0, x, y, radius, startAngle, endAngle, clockwise,
                  Of(m));
}

void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect) {
    if (path) path->path.addPath(Of(m).map(RectPath(rect)));
}

void CGPathAddEllipseInRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect) {
    if (path) path->path.addPath(Of(m).map(EllipsePath(rect)));
}

void CGPathCloseSubpath(CGMutablePathRef path) {
    if (path) path->path.closeSubpath();
}

bool CGPathIsEmpty(CGPathRef path) {
    return !path || path->path.elementCount() == 0;
}

CGRect CGPathGetBoundingBox(CGPathRef path) {
    if (CGPathIsEmpty(path)) return CGRectMake(0, 0, 0, 0);
    QRectF b = path->path.controlPointRect();
    return CGRectMake(b.x(), b.y(), b.width(), b.height());
}

bool CGPathContainsPoint(CGPathRef path, const CGAffineTransform* m, CGPoint point, bool eoFill) {
    if (CGPathIsEmpty(path)) return false;
    QPainterPath p = Of(m).map(path->path);
    p.setFillRule(eoFill ? Qt::OddEvenFill : Qt::WindingFill);
    return p.contains(QPointF(point.x, point.y));
}

// Images.

static CGImageRef LoadImage(const char* utf8Path, const char* format) {
    if (!utf8Path) return nullptr;
    QImageReader reader(QString::fromUtf8(utf8Path), format);
    QImage image = reader.read();
    if (image.isNull()) return nullptr;
    return new CGImage{image.convertToFormat(QImage::Format_ARGB32_Premultiplied), 1};
}

CGImageRef CreatePNGImageFromFile(const char* utf8Path) {
    return LoadImage(utf8Path, "png");
}

CGImageRef CGImageCreateWithFile(const char* utf8Path) {
    return LoadImage(utf8Path, nullptr);
}

CGImageRef CGImageRetain(CGImageRef image) {
    if (image) ++image->refs;
    return image;
}

void CGImageRelease(CGImageRef image) {
    if (image && --image->refs == 0) delete image;
}

size_t CGImageGetWidth(CGImageRef image) {
    return image ? size_t(image->image.width()) : 0;
}

size_t CGImageGetHeight(CGImageRef image) {
    return image ? size_t(image->image.height()) : 0;
}

void CGImageGetResolution(CGImageRef image, CGFloat* dpiX, CGFloat* dpiY) {
    auto dpi = [](int dotsPerMeter) { return dotsPerMeter > 0 ? dotsPerMeter * 0.0254 : 72.0; };
    if (dpiX) *dpiX = image ? dpi(image->image.dotsPerMeterX()) : 72;
    if (dpiY) *dpiY = image ? dpi(image->image.dotsPerMeterY()) : 72;
}

CGImageRef CGImageCreateWithARGBBytes(const UInt8* bytes, size_t byteCount, size_t width, size_t height,
                                      size_t bytesPerRow) {
    if (!bytes || width == 0 || height == 0 || width > 32767 || height > 32767 || bytesPerRow < width * 4 ||
        byteCount / bytesPerRow < height)
        return nullptr;
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull()) return nullptr;
    for (size_t row = 0; row < height; ++row) {
        const UInt8* p = bytes + row * bytesPerRow;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(row)));
        for (size_t i = 0; i < width; ++i, p += 4)
            out[i] = qRgba(p[1], p[2], p[3], p[0]);
    }
    return new CGImage{image.convertToFormat(QImage::Format_ARGB32_Premultiplied), 1};
}

bool CGImageCopyARGBBytes(CGImageRef image, UInt8* buffer, size_t bufferSize) {
    if (!image || !buffer) return false;
    QImage plain = image->image.convertToFormat(QImage::Format_ARGB32);
    size_t width = size_t(plain.width()), height = size_t(plain.height());
    if (bufferSize < width * height * 4) return false;
    for (size_t row = 0; row < height; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(plain.constScanLine(int(row)));
        UInt8* p = buffer + row * width * 4;
        for (size_t i = 0; i < width; ++i, p += 4) {
            p[0] = UInt8(qAlpha(in[i]));
            p[1] = UInt8(qRed(in[i]));
            p[2] = UInt8(qGreen(in[i]));
            p[3] = UInt8(qBlue(in[i]));
        }
    }
    return true;
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image) {
    if (!context || !image) return;
    context->Before();
    context->painter.setWorldTransform(
        QTransform(1, 0, 0, -1, rect.origin.x, rect.origin.y + rect.size.height) * context->UserToDevice());
    context->painter.setOpacity(context->gs.alpha);
    context->painter.drawImage(QRectF(0, 0, rect.size.width, rect.size.height), image->image);
    context->Touched();
}

Boolean QDPictDrawToCGContext(CGContextRef context, CGRect rect, const UInt8* bytes, size_t size) {
    QPicture picture;
    Rect frame;
    if (!context || !RecordPicture(bytes, size, &picture, &frame)) return false;
    double fw = double(frame.right) - frame.left, fh = double(frame.bottom) - frame.top;
    context->Before();
    context->painter.save();
    context->painter.setWorldTransform(
        QTransform(1, 0, 0, -1, rect.origin.x, rect.origin.y + rect.size.height) * context->UserToDevice());
    context->painter.scale(rect.size.width / fw, rect.size.height / fh);
    context->painter.setOpacity(context->gs.alpha);
    context->painter.setClipRect(QRectF(0, 0, fw, fh), Qt::IntersectClip);
    context->painter.drawPicture(0, 0, picture);
    context->painter.restore();
    context->Touched();
    return true;
}

// Text.

void CGContextSelectFont(CGContextRef context, const char* name, CGFloat size, CGTextEncoding encoding) {
    if (!context || !name) return;
    Str255 pname;
    size_t n = std::min<size_t>(std::strlen(name), 255);
    pname[0] = UInt8(n);
    std::memcpy(pname + 1, name, n);
    SInt16 number = 0;
    GetFNum(pname, &number);
    CGContextSelectFontNumber(context, number, 0, size, encoding);
}

void CGContextSelectFontNumber(CGContextRef context, SInt16 fontNumber, SInt16 face, CGFloat size,
                               CGTextEncoding encoding) {
    if (!context) return;
    context->gs.fontNumber = fontNumber;
    context->gs.fontFace = face;
    context->gs.fontSize = size;
    context->gs.encoding = encoding;
}

void CGContextSetFontSize(CGContextRef context, CGFloat size) {
    if (context) context->gs.fontSize = size;
}

void CGContextSetTextDrawingMode(CGContextRef context, CGTextDrawingMode mode) {
    if (context) context->gs.textMode = mode;
}

void CGContextSetTextMatrix(CGContextRef context, CGAffineTransform matrix) {
    if (context) context->textMatrix = ToQ(matrix);
}

CGAffineTransform CGContextGetTextMatrix(CGContextRef context) {
    return context ? FromQ(context->textMatrix) : CGAffineTransformIdentity;
}

void CGContextSetTextPosition(CGContextRef context, CGFloat x, CGFloat y) {
    if (!context) return;
    QTransform& t = context->textMatrix;
    t.setMatrix(t.m11(), t.m12(), 0, t.m21(), t.m22(), 0, x, y, 1);
}

CGPoint CGContextGetTextPosition(CGContextRef context) {
    return context ? CGPoint{context->textMatrix.dx(), context->textMatrix.dy()} : CGPoint{0, 0};
}

CGFloat CGContextMeasureText(CGContextRef context, const char* bytes, size_t length) {
    if (!context || !bytes || !PlatformHasApplication()) return 0;
    return context->BaseAdvance(bytes, length) * context->gs.fontSize / kFontBase;
}

void CGContextGetFontExtents(CGContextRef context, CGFloat* ascent, CGFloat* descent) {
    CGFloat a = 0, d = 0;
    if (context && PlatformHasApplication()) {
        QFontMetricsF fm(context->Font());
        a = fm.ascent() * context->gs.fontSize / kFontBase;
        d = fm.descent() * context->gs.fontSize / kFontBase;
    }
    if (ascent) *ascent = a;
    if (descent) *descent = d;
}

void CGContextShowText(CGContextRef context, const char* bytes, size_t length) {
    if (!context || !bytes || length == 0 || !PlatformHasApplication()) return;
    GState& gs = context->gs;
    QString text = Decode(bytes, length, gs.encoding);
    QFont font = context->Font();
    double scale = gs.fontSize / kFontBase;
    ShapedText& shaped = context->Shaped(bytes, length);
    double advance = shaped.advance * scale;
    QTransform& tm = context->textMatrix;
    if (gs.textMode != kCGTextInvisible) {
        context->Before();
        // Glyphs are laid out y down: flip them into the text space, which is y up.
        context->painter.setWorldTransform(QTransform::fromScale(scale, -scale) * tm *
                                           context->UserToDevice());
        context->painter.setOpacity(gs.alpha);
        if (gs.textMode == kCGTextFill || gs.textMode == kCGTextFillStroke) {
            context->painter.setFont(font);
            context->painter.setPen(gs.fill);
            context->DrawShaped(shaped, text, font);
        }
        if (gs.textMode == kCGTextStroke || gs.textMode == kCGTextFillStroke) {
            QPainterPath outline;
            outline.addText(0, 0, font, text);
            QPen pen = context->StrokePen();
            pen.setWidthF(gs.lineWidth / (scale > 0 ? scale : 1));
            context->painter.strokePath(outline, pen);
        }
        context->Touched();
    }
    tm.setMatrix(tm.m11(), tm.m12(), 0, tm.m21(), tm.m22(), 0, tm.dx() + advance * tm.m11(),
                 tm.dy() + advance * tm.m12(), 1);
}

void CGContextShowTextAtPoint(CGContextRef context, CGFloat x, CGFloat y, const char* bytes, size_t length) {
    CGContextSetTextPosition(context, x, y);
    CGContextShowText(context, bytes, length);
}

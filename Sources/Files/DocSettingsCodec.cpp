// One list of the settings fields in stored order, walked by a writer and a reader of the drawing
// file's big-endian stream and by the little-endian image kept in the preferences.
#include "Files/DocSettingsCodec.h"

#include "Model/Streams.h"
#include "Other/ZEZUdivari.h"

#include <cstring>

namespace {

template <class IO, class T, size_t N> void Words(IO& io, T (&values)[N]) {
    for (T& v : values)
        io.W16(v);
}
template <class IO, size_t N> void Reals(IO& io, Float64 (&values)[N]) {
    for (Float64& v : values)
        io.Real(v);
}
template <class IO, size_t N> void Colors(IO& io, RGBColor (&values)[N]) {
    for (RGBColor& v : values)
        io.Color(v);
}
template <class IO, size_t N> void Flags8(IO& io, Boolean (&values)[N]) {
    for (Boolean& v : values)
        io.B8(v);
}

// The fields in the order and widths of the stored section; the comments give their offsets there.
template <class IO> void VisitSettings(DocSettings& s, IO& io) {
    io.W16(s.paperFormat);
    io.W16(s.word2);
    io.W16(s.currentLayer);
    io.W16(s.currentPen);
    io.W16(s.currentLineType);
    io.W16(s.currentGroup);
    io.W16(s.dimFont);
    io.W16(s.dimFlags);
    io.W16(s.dimDecimals);
    io.W16(s.documentFont);
    io.C16(s.lineBreakChar); // 20
    io.W16(s.textJustification);
    io.W16(s.textFlags);
    io.Str(s.dimPrefix, 11, 10); // 26
    io.Str(s.dimSuffix, 11, 10);
    io.B16(s.askDimensionText); // 50
    io.Str(s.dimUnitText, 9, 9);
    io.W16(s.dimPen); // 62
    io.B16(s.useDimPen);
    io.W16(s.dimLayer);
    io.B16(s.useDimLayer);
    Words(io, s.words70);
    io.B8(s.markNewLines); // 74
    io.B8(s.flag75);
    io.W16(s.textFont);
    io.W16(s.pageCount);
    io.W16(s.word80);
    Flags8(io, s.flags82);
    io.W16(s.pickAperture); // 86
    io.B8(s.keepBackup);
    io.B8(s.gridVisible);
    io.W16(s.word90);
    io.W16(s.gridMode);
    io.W16(s.areasFirst);
    io.B16(s.colorByPen); // 96
    io.W16(s.layerSetCount);
    Colors(io, s.penColors); // 100
    Words(io, s.penLineKinds);
    Words(io, s.penPrintWidths);
    Words(io, s.penPrintWidths2);
    io.B16(s.viewFramesShown); // 196
    io.Str(s.string198, 5, 5);
    Words(io, s.words204);
    io.B16(s.flag210);
    io.Color(s.backgroundColor); // 212
    io.Color(s.selectionColor);
    io.Color(s.gridColor);
    io.Color(s.gridColor2);
    Colors(io, s.displayColors);
    io.B16(s.flag248); // 248
    io.W16(s.word250);
    io.W16(s.textDisplayMode);
    io.W16(s.snapMode);
    io.B16(s.flag256);
    io.W16(s.startMarkKind); // 258
    io.W16(s.endMarkKind);
    Words(io, s.words262);
    Flags8(io, s.flags266);
    io.B16(s.flag268);
    io.W16(s.undoWarnSteps); // 270
    io.W16(s.undoWarnSteps2);
    io.B16(s.autoSaveBySteps);
    io.W16(s.autoSaveMinutes);
    io.B16(s.autoSaveOn);
    io.Pt(s.point280); // 280
    io.Rc(s.windowRect);
    io.W16(s.colorTableChoice); // 292
    Words(io, s.words294);
    Words(io, s.words318);
    io.W16(s.option330); // 330
    io.W16(s.dimDisplayMode);
    io.W16(s.unitCode);
    io.W16(s.textSize);
    Words(io, s.words338);
    io.Pt(s.point344);
    Words(io, s.words348);
    io.W16(s.gridOptionBits); // 354
    io.W16(s.dimDialogPage);
    Words(io, s.words358);
    io.W16(s.dialog186Option); // 370
    io.W16(s.optionsDialogPage);
    Words(io, s.words374);
    io.W16(s.word384);
    io.W16(s.decimals); // 386
    Words(io, s.words388);
    io.Real(s.drawingScale); // 394
    io.Real(s.textHeight);
    Reals(io, s.textSizes);
    io.Real(s.dimTerminatorSize); // 466
    io.Real(s.dimLineOffset);
    io.Real(s.dimExtensionOvershoot);
    io.Real(s.dimExtensionOffset);
    io.Real(s.dimLength2);
    io.Real(s.currentLineWidth); // 506
    io.Real(s.gridX);
    io.Real(s.gridY);
    io.Real(s.gridAngleX);
    io.Real(s.gridAngleY);
    Reals(io, s.reals546);
    Reals(io, s.reals578);
    io.Real(s.dimArrowAngle); // 602
    Reals(io, s.penWidths);
    Reals(io, s.reals674); // 674
    Reals(io, s.hpglArea);
    Reals(io, s.pdfArea);
    Reals(io, s.reals762);
    io.Real(s.savedOriginX); // 794
    io.Real(s.savedOriginY);
    io.Real(s.savedUnitsPerPixel);
    io.Real(s.extensionGap); // 818
    io.Real(s.chordTolerance);
    Reals(io, s.reals834);
    io.Real(s.printScale); // 850
    io.Real(s.real858);
    io.Real(s.dimStackSpacing);
    io.Real(s.real874);
    Reals(io, s.markSizes); // 882
    io.Real(s.dialog187Value1);
    io.Real(s.dialog187Value2);
    io.Real(s.customUnitFactor);
    io.Real(s.inchPerMillimetre);
    io.Real(s.typedCoordsRelative); // 970
    Reals(io, s.reals978);
    io.Str(s.string1210, 255, 255);
    io.Str(s.string1466, 255, 255);
    io.B8(s.undoOn); // 1722
    io.B8(s.flag1723);
    Reals(io, s.reals1724);
    Reals(io, s.reals1780);
    Flags8(io, s.flags1836);
    io.B16(s.flag1838);
    Words(io, s.penPatterns); // 1840
    io.W16(s.dialogUnit);
    io.W16(s.dxfFlavour);
    io.W16(s.InchesOnly);
    io.W16(s.InchFractionBits);
    io.W16(s.areaDisplayMode); // 1864
    io.W16(s.lineWidthOption);
    Words(io, s.words1868);
    io.W16(s.currentPattern); // 1894
    io.W16(s.currentColorIndex);
    io.W16(s.currentPenWidth100);
    io.W16(s.penMode);
    Words(io, s.words1902);
    io.W16(s.plotterOptions); // 1908
    io.W16(s.dashLength1);
    io.W16(s.dashLength2);
    Words(io, s.words1914);
    io.L32(s.creationDate); // 1924
    io.L32(s.saveDate);
    io.L32(s.editingSeconds);
    Words(io, s.words1936);
    io.Color(s.currentColor); // 1940
    io.W16(s.outputBrightness);
    io.W16(s.word1948);
    io.Str(s.customUnitName, 7, 7); // 1950
    io.W16(s.dialog186Option2);
    io.W16(s.markerChoice); // 1960
    io.W16(s.animatedZoom);
    io.W16(s.cornerZoom);
    io.W16(s.displaySwitch1);
    io.W16(s.imagesShown);
    io.W16(s.coordinateDisplayMode);
    Words(io, s.cursorOptions);
    Words(io, s.words1978);
    io.W16(s.headerFont); // 1986
    io.W16(s.headerSize);
    io.W16(s.measureMode);
    io.W16(s.word1992);
    io.W16(s.headerOption);
    Words(io, s.words1996);
    io.W16(s.pickAperture2); // 2006
    Words(io, s.words2008);
    io.W16(s.saveFormat); // 2012
    io.W16(s.appendExtension);
    Words(io, s.words2016); // 2016..2387
}

struct StreamOut {
    SInt16 fork;
    template <class T> void W16(T& v) { StreamWriteShort(fork, SInt16(v)); }
    template <class T> void L32(T& v) { StreamWriteLong(fork, SInt32(v)); }
    void B16(Boolean& v) { StreamWriteBool16(fork, v); }
    void B8(Boolean& v) { StreamWriteBool8(fork, v); }
    void C16(UInt8& v) { StreamWriteChar16(fork, v); }
    void Str(StringPtr s, UInt8 capacity, UInt8) { StreamWritePString(fork, s, capacity); }
    void Color(RGBColor& v) { StreamWriteRGB(fork, v); }
    void Pt(Point& v) { StreamWritePoint(fork, v); }
    void Rc(Rect& v) { StreamWriteRect(fork, v); }
    void Real(Float64& v) { StreamWriteReal(fork, v); }
};

struct StreamIn {
    SInt16 fork;
    SInt32* budget;
    SInt16 format;
    template <class T> void W16(T& v) { v = T(StreamReadShort(fork, budget)); }
    template <class T> void L32(T& v) { v = T(StreamReadLong(fork, budget)); }
    void B16(Boolean& v) { v = StreamReadBool16(fork, budget); }
    void B8(Boolean& v) { v = StreamReadBool8(fork, budget); }
    void C16(UInt8& v) { v = StreamReadChar16(fork, budget); }
    void Str(StringPtr s, UInt8 capacity, UInt8 keep) {
        Str255 scratch = {0};
        StreamReadPString(fork, scratch, capacity, budget);
        std::memcpy(s, scratch, size_t(capacity) + 1);
        AssignStrN(s, scratch, keep);
    }
    void Color(RGBColor& v) { v = StreamReadRGB(fork, budget); }
    void Pt(Point& v) { v = StreamReadPoint(fork, budget); }
    void Rc(Rect& v) { v = StreamReadRect(fork, budget); }
    void Real(Float64& v) { v = StreamReadReal(fork, format, budget); }
};

// Little-endian image: the same widths, one cursor over a fixed buffer.
struct ImageIO {
    UInt8* p;
    bool writing;
    void Bytes(void* v, size_t n) {
        // Values are kept in the host's order; the image is little-endian.
        UInt8* b = static_cast<UInt8*>(v);
        for (size_t i = 0; i < n; ++i) {
            size_t at = IsLittleEndian() ? i : n - 1 - i;
            if (writing)
                p[i] = b[at];
            else
                b[at] = p[i];
        }
        p += n;
    }
    static bool IsLittleEndian() {
        const UInt16 one = 1;
        return *reinterpret_cast<const UInt8*>(&one) == 1;
    }
    template <class T> void W16(T& v) {
        static_assert(sizeof(T) == 2);
        Bytes(&v, 2);
    }
    template <class T> void L32(T& v) {
        static_assert(sizeof(T) == 4);
        Bytes(&v, 4);
    }
    void B16(Boolean& v) {
        UInt16 w = v ? 1 : 0;
        Bytes(&w, 2);
        v = w != 0;
    }
    void B8(Boolean& v) { Bytes(&v, 1); }
    void C16(UInt8& v) {
        UInt16 w = v;
        Bytes(&w, 2);
        v = UInt8(w);
    }
    void Str(StringPtr s, UInt8 capacity, UInt8 keep) {
        if (writing) {
            std::memcpy(p, s, size_t(capacity) + 1);
        } else {
            std::memcpy(s, p, size_t(capacity) + 1);
            if (s[0] > keep) s[0] = keep;
        }
        p += capacity + 1;
    }
    void Color(RGBColor& v) {
        W16(v.red);
        W16(v.green);
        W16(v.blue);
    }
    void Pt(Point& v) {
        W16(v.v);
        W16(v.h);
    }
    void Rc(Rect& v) {
        W16(v.top);
        W16(v.left);
        W16(v.bottom);
        W16(v.right);
    }
    void Real(Float64& v) { Bytes(&v, 8); }
};

} // namespace

void WriteDocSettings(SInt16 fork, const DocSettings* settings) {
    StreamOut io{fork};
    VisitSettings(const_cast<DocSettings&>(*settings), io);
}

void ReadDocSettings(SInt16 fork, DocSettings* settings, SInt32* budget, SInt16 realFormat) {
    std::memset(settings, 0, sizeof *settings);
    StreamIn io{fork, budget, realFormat};
    VisitSettings(*settings, io);
}

void EncodeDocSettingsLE(const DocSettings* settings, UInt8* bytes) {
    ImageIO io{bytes, true};
    VisitSettings(const_cast<DocSettings&>(*settings), io);
}

void DecodeDocSettingsLE(const UInt8* bytes, DocSettings* settings) {
    ImageIO io{const_cast<UInt8*>(bytes), false};
    VisitSettings(*settings, io);
}

// The buffered text-line reader: every line-end convention, blanks, long lines, buffer boundaries,
// tokens, counts and read failures.
#include "Platform/FileManager.h"
#include "TestSupport.h"
#include "Other/TextLineReader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Line {
    std::string text;
    bool more;
};

// Writes content to a fresh file and opens it for reading.
FSIORefNum OpenWith(const std::string& content) {
    std::string path = MakeTestFolder("lines") + "/text.txt";
    FSIORefNum fork = 0;
    EXPECT_EQ(FSOpenForkPath(path.c_str(), fsRdWrPerm | fsCreateMissing, &fork), noErr);
    EXPECT_EQ(FSWriteFork(fork, fsFromStart, 0, ByteCount(content.size()), content.data(), nullptr), noErr);
    return fork;
}

std::vector<Line> ReadAll(const std::string& content, SInt32 kilobytes = 4, bool raw = false,
                          SInt32* used = nullptr) {
    FSIORefNum fork = OpenWith(content);
    std::vector<Line> lines;
    EXPECT_TRUE(OpenBufferedFork(kilobytes, fork));
    SInt32 count = 0;
    for (int guard = 0; guard < 100000; ++guard) {
        Str255 line;
        bool more = raw ? ReadTextLineRaw(fork, line, &count) : ReadTextLine(fork, line, &count);
        lines.push_back({ToStd(line), more});
        if (!more) break;
    }
    EXPECT_EQ(BufferedReadResult(), noErr);
    EXPECT_EQ(BufferedLineNumber(), SInt32(lines.size()));
    CloseBufferedFork();
    FSCloseFork(fork);
    if (used) *used = count;
    return lines;
}

std::vector<std::string> Texts(const std::vector<Line>& lines) {
    std::vector<std::string> out;
    for (const Line& l : lines)
        out.push_back(l.text);
    return out;
}

std::string WithEnds(const std::vector<std::string>& lines, const std::string& end) {
    std::string s;
    for (const std::string& l : lines)
        s += l + end;
    return s;
}

} // namespace

TEST(TextLineReader, EveryLineEndGivesTheSameLines) {
    // Control characters other than the line ends are characters of their line.
    std::vector<std::string> lines = {"FIRST", "   ABC  ", "", "x y", "t\tab\x0b\x0c\x01", "", "last"};
    std::vector<std::string> expected = {"FIRST", "ABC  ", "", "x y", "t\tab\x0b\x0c\x01", "", "last", ""};
    for (const char* end : {"\r\n", "\r", "\n", "\n\r"}) {
        SInt32 used = 0;
        std::string content = WithEnds(lines, end);
        std::vector<Line> got = ReadAll(content, 4, false, &used);
        EXPECT_EQ(Texts(got), expected) << int(end[0]) << " " << int(end[1]);
        EXPECT_EQ(used, SInt32(content.size()));
        for (size_t i = 0; i + 1 < got.size(); ++i)
            EXPECT_TRUE(got[i].more);
        EXPECT_FALSE(got.back().more);
    }
    EXPECT_EQ(Texts(ReadAll(WithEnds(lines, "\r\n"), 4, true))[1], "   ABC  ");
}

TEST(TextLineReader, LastLineWithoutEndAndEmptyFile) {
    std::vector<Line> got = ReadAll("one\rtwo");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_TRUE(got[0].more);
    EXPECT_EQ(got[1].text, "two");
    EXPECT_FALSE(got[1].more);

    got = ReadAll("");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "");
    EXPECT_FALSE(got[0].more);
}

TEST(TextLineReader, LongLinesGoOnWithoutLosingCharacters) {
    std::string longLine;
    for (int i = 0; i < 300; ++i)
        longLine += char('a' + i % 26);
    longLine[255] = ' '; // the 256th character: a blank at the start of the continuation stays
    std::vector<Line> got = ReadAll(longLine + "\r\nnext\r\n");
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[0].text, longLine.substr(0, 255));
    EXPECT_EQ(got[1].text, longLine.substr(255));
    EXPECT_EQ(got[1].text.size(), 45u);
    EXPECT_EQ(got[2].text, "next");

    // Exactly 255 characters followed by the line end is one line, not two.
    std::string exact(255, 'q');
    EXPECT_EQ(Texts(ReadAll(exact + "\r\nnext")), (std::vector<std::string>{exact, "next"}));
    EXPECT_EQ(Texts(ReadAll(exact + "\rnext")), (std::vector<std::string>{exact, "next"}));
    got = ReadAll(exact);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_FALSE(got[0].more);
    // 600 characters: 255 + 255 + 90.
    EXPECT_EQ(Texts(ReadAll(std::string(600, 'z'))),
              (std::vector<std::string>{std::string(255, 'z'), std::string(255, 'z'), std::string(90, 'z')}));
}

TEST(TextLineReader, OnlyThePartnerByteOfALineEndIsSkipped) {
    // The file's first line end is CR LF; later a lone CR or LF must not eat the next character.
    EXPECT_EQ(Texts(ReadAll("A\r\nB\rC\r\nD\nE\n\rF")),
              (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    // A file of single line ends keeps a CR LF pair as two ends (an empty line between).
    EXPECT_EQ(Texts(ReadAll("A\rB\r\nC")), (std::vector<std::string>{"A", "B", "", "C"}));
    // Doubled line ends are empty lines, also in a CR LF file.
    EXPECT_EQ(Texts(ReadAll("A\r\n\r\nB\r\n")), (std::vector<std::string>{"A", "", "B", ""}));
}

TEST(TextLineReader, LinesAcrossBufferBoundaries) {
    // A 1 KB buffer with line ends split across its edge, and lines longer than a screen.
    std::string content;
    std::vector<std::string> expected;
    for (int n = 0; content.size() < 5000; ++n) {
        std::string line(size_t(1 + (n * 37) % 200), char('A' + n % 26));
        // One line is sized so that its CR is the buffer's last byte and its LF the next one's first.
        if (content.size() > 800 && content.size() < 1023 && content.size() + line.size() > 1023)
            line.resize(1023 - content.size());
        content += line + "\r\n";
        expected.push_back(line);
    }
    ASSERT_EQ(content.substr(1023, 2), "\r\n");
    expected.push_back("");
    SInt32 used = 0;
    EXPECT_EQ(Texts(ReadAll(content, 1, false, &used)), expected);
    EXPECT_EQ(used, SInt32(content.size()));
}

TEST(TextLineReader, CharactersAndTokens) {
    FSIORefNum fork = OpenWith("a;bc;;d");
    ASSERT_TRUE(OpenBufferedFork(1, fork));
    Str255 token;
    EXPECT_FALSE(ReadBufferedToken(fork, token));
    EXPECT_EQ(ToStd(token), "a");
    EXPECT_FALSE(ReadBufferedToken(fork, token));
    EXPECT_EQ(ToStd(token), "bc");
    EXPECT_FALSE(ReadBufferedToken(fork, token));
    EXPECT_EQ(ToStd(token), "");
    EXPECT_TRUE(ReadBufferedToken(fork, token));
    EXPECT_EQ(ToStd(token), "d");
    CloseBufferedFork();

    // Opening rewinds the fork; the last byte reports the end, and after it the character is kept.
    ASSERT_TRUE(OpenBufferedFork(1, fork));
    unsigned char ch = 0;
    std::string seen;
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(ReadBufferedChar(fork, &ch));
        seen += char(ch);
    }
    EXPECT_TRUE(ReadBufferedChar(fork, &ch));
    EXPECT_EQ(ch, 'd');
    ch = '#';
    EXPECT_TRUE(ReadBufferedChar(fork, &ch));
    EXPECT_EQ(ch, '#');
    EXPECT_EQ(seen, "a;bc;;");
    EXPECT_TRUE(BufferedAtEOF());
    CloseBufferedFork();
    FSCloseFork(fork);

    EXPECT_TRUE(IsLineEndChar(13));
    EXPECT_TRUE(IsLineEndChar(10));
    EXPECT_FALSE(IsLineEndChar(' '));
}

TEST(TextLineReader, AReadFailureEndsReadingWithoutStaleBytes) {
    std::string content;
    for (int i = 0; i < 400; ++i)
        content += "line " + std::to_string(i) + "\n";
    FSIORefNum fork = OpenWith(content);
    ASSERT_TRUE(OpenBufferedFork(1, fork));
    Str255 line;
    SInt32 used = 0;
    ASSERT_TRUE(ReadTextLine(fork, line, &used));
    EXPECT_EQ(ToStd(line), "line 0");

    // The file shrinks under the reader: what was really read still comes, then reading fails.
    FSSetForkSize(fork, fsFromStart, 10);
    int lines = 1;
    bool more = true;
    while (more && lines < 1000) {
        more = ReadTextLine(fork, line, &used);
        ++lines;
        if (more) {
            EXPECT_EQ(ToStd(line), "line " + std::to_string(lines - 1));
        }
    }
    EXPECT_FALSE(more);
    EXPECT_LT(lines, 200);
    EXPECT_NE(BufferedReadResult(), noErr);
    EXPECT_TRUE(BufferedAtEOF());
    EXPECT_LE(used, 1024);
    // Later calls deliver nothing old.
    EXPECT_FALSE(ReadTextLine(fork, line, &used));
    EXPECT_EQ(line[0], 0);
    CloseBufferedFork();
    EXPECT_EQ(BufferedReadResult(), noErr);

    // A fork that is not open cannot be read from the start.
    FSCloseFork(fork);
    EXPECT_FALSE(OpenBufferedFork(1, fork));
    EXPECT_EQ(BufferedReadResult(), rfNumErr);
    EXPECT_TRUE(BufferedAtEOF());
    EXPECT_FALSE(ReadTextLine(fork, line, &used));
    CloseBufferedFork();
    EXPECT_FALSE(OpenBufferedFork(0, fork));
    CloseBufferedFork();
}

// The line rules every script relies on.
#include "script/ScriptReader.h"
#include "script/ProblemSink.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::vector<std::string> allLines(ScriptReader& r, const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    while (r.next(in))
        lines.push_back(r.line);
    return lines;
}

} // namespace

TEST(ScriptReader, LineRules)
{
    ScriptReader r;
    std::istringstream in("   \tAlpha {   ; opens alpha\n");
    EXPECT_EQ(r.readLine(in), "Alpha {   ");
    EXPECT_EQ(r.lineCount, 0); // a line ending in a comment is not counted

    ScriptReader blank;
    std::istringstream three("\n\n\nName x\nEnable\tyes");
    EXPECT_EQ(blank.readLine(three), "Name x");
    EXPECT_EQ(blank.lineCount, 1);
    // TABs inside become blanks; a last line without a line feed still arrives and counts.
    EXPECT_EQ(blank.readLine(three), "Enable yes");
    EXPECT_EQ(blank.lineCount, 2);
    EXPECT_EQ(blank.readLine(three), "");
}

TEST(ScriptReader, WindowsLineEndsReadLikeUnixOnes)
{
    // A CR just before the line feed or the end of the file is part of the line end, so names
    // taken by the quote rules and the counted lines match the same file with bare line feeds.
    ScriptReader r;
    EXPECT_EQ(allLines(r, "Name \"cam\r\nStart 1\r\n\r\nEnd 2\r"),
              (std::vector<std::string>{"Name \"cam", "Start 1", "End 2"}));
    EXPECT_EQ(r.lineCount, 3);
    // A CR inside a line stays: only the line end loses it.
    ScriptReader inner;
    EXPECT_EQ(allLines(inner, "a\rb\r\n"), (std::vector<std::string>{"a\rb"}));
}

TEST(ScriptReader, NextWalksAFileAndStopsAtItsEnd)
{
    ScriptReader r;
    auto lines = allLines(r, "; header only comment\nA 1\n\n  ; indented comment\nB 2 ; tail\nC 3");
    // Comment-only lines come back empty; the caller decides what they mean.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "A 1");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "B 2 ");
    EXPECT_EQ(lines[4], "C 3");
    EXPECT_EQ(r.lineCount, 2);

    // File lines count every line, blank and comment lines too.
    ScriptReader located;
    std::istringstream file("; c\n\nA 1\n  ; c\n\tB 2\n");
    located.next(file);
    EXPECT_EQ(located.fileLine, 1);
    located.next(file);
    EXPECT_EQ(located.line, "A 1");
    EXPECT_EQ(located.fileLine, 3);
    located.next(file);
    located.next(file);
    EXPECT_EQ(located.line, "B 2");
    EXPECT_EQ(located.fileLine, 5);

    ScriptReader empty;
    EXPECT_TRUE(allLines(empty, "").empty());
    EXPECT_TRUE(allLines(empty, " \n\t\n").empty());
}

TEST(ScriptReader, KeywordsAndQuotedText)
{
    EXPECT_TRUE(ScriptReader::contains("Function GEQUAL", "EQUAL"));
    EXPECT_TRUE(ScriptReader::contains("anything", ""));
    EXPECT_FALSE(ScriptReader::contains("Name x", "name"));
    EXPECT_TRUE(ScriptReader::contains("Name \"my Blend {\"", "Blend {"));

    EXPECT_EQ(ScriptReader::quotedText("Name \"Chrome\""), "Chrome");
    EXPECT_EQ(ScriptReader::quotedText("Name \"a\" \"b\""), "a\" \"b");
    EXPECT_EQ(ScriptReader::quotedText("Name \"abc"), "abc");
    EXPECT_EQ(ScriptReader::quotedText("Name \"abc  "), "abc  ");
    EXPECT_EQ(ScriptReader::quotedText("Name abc"), "");
}

TEST(ScriptReader, ScanHelpersKeepUnconvertedValues)
{
    float a = 7, b = 8, c = 9;
    EXPECT_EQ(scanFloats("Pos 1.5 x 3", a, b, c), 1);
    EXPECT_FLOAT_EQ(a, 1.5f);
    EXPECT_FLOAT_EQ(b, 8.0f);
    EXPECT_FLOAT_EQ(c, 9.0f);
    int i = 4, j = 5;
    EXPECT_EQ(scanInts("Ref", i, j), -1);
    EXPECT_EQ(i, 4);
    std::string word = "keep";
    EXPECT_EQ(scanIntWord("Channel 3 Linear", i, word), 2);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(word, "Linear");
    EXPECT_EQ(scanIntWord("Channel 3", i, word), 1);
    EXPECT_EQ(word, "Linear");
    short s1 = 0, s2 = 6;
    EXPECT_EQ(scanShorts("Header 2 x", s1, s2), 1);
    EXPECT_EQ(s1, 2);
    EXPECT_EQ(s2, 6);
}

namespace {
// A reader whose parser throws on the second line, like a block with an unknown token.
class FailingReader : public ScriptReader {
protected:
    bool parse(std::istream& stream) override
    {
        next(stream);
        next(stream);
        throw error("PARSE ERROR! Unknown Test Token");
    }
};
} // namespace

TEST(ScriptReader, LoadReportsMissingFilesAndLocatesErrors)
{
    ScriptReader r;
    try {
        r.load("data\\scr\\missing.shader");
        FAIL() << "no exception";
    } catch (const ImageScriptException& e) {
        EXPECT_STREQ(e.what(), "Unable to open scriptfile data\\scr\\missing.shader");
        EXPECT_EQ(e.lineNumber, -1);
    }

    const std::string dir = testfiles::tempDir("script");
    testfiles::writeFile(dir + "/data/scr/bad.shader", "Shader {\n  Bogus line\n");
    FailingReader f;
    try {
        f.load(dir + "\\data\\scr\\bad.shader");
        FAIL() << "no exception";
    } catch (const ImageScriptException& e) {
        EXPECT_STREQ(e.what(), "PARSE ERROR! Unknown Test Token");
        EXPECT_EQ(e.lineNumber, 2);
        EXPECT_EQ(e.location(), dir + "\\data\\scr\\bad.shader line 2: \"Bogus line\"");
        EXPECT_EQ(e.fileLine, 2);
    }
}

// A byte-order mark is skipped only where an editor writes it, at the very start; elsewhere the
// bytes stay part of the line.
TEST(ScriptReader, ByteOrderMarkAtTheStartIsNoPartOfTheFirstKeyword)
{
    ScriptReader r;
    EXPECT_EQ(allLines(r, "\xEF\xBB\xBF" "Flash {\n}\n"), (std::vector<std::string>{"Flash {", "}"}));
    ScriptReader later;
    EXPECT_EQ(allLines(later, "A\n\xEF\xBB\xBF" "B\n"), (std::vector<std::string>{"A", "\xEF\xBB\xBF" "B"}));
    ScriptReader partial;
    EXPECT_EQ(allLines(partial, "\xEF\xBB" "C\n"), (std::vector<std::string>{"\xEF\xBB" "C"}));
}

// While a sink listens, value words the scan would misread are problems at their line, with
// what the value became; words behind the fields read are not looked at.
TEST(ScriptReader, ValueWordsThatAreNoNumbersAreProblems)
{
    ProblemCollector collector(false);
    ScriptReader r;
    r.fileName = "t.effect";
    std::istringstream in("Start 1,5\nEnd thirty\nKey 0 1e39\nLayer 2.5\nMax 99999999999\nColor 1 2 3 4 five\n"
                          "Start -1.5e2\n");
    float a = 0, b = 0, c = 0;
    int n = 0;
    r.next(in);
    scanFloats(r.line, a);
    r.next(in);
    scanFloats(r.line, b);
    r.next(in);
    scanFloats(r.line, a, c);
    r.next(in);
    scanInts(r.line, n);
    r.next(in);
    scanInts(r.line, n);
    r.next(in);
    scanFloats(r.line, a, b, c, c);
    r.next(in);
    scanFloats(r.line, a);
    const auto& found = collector.problems();
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(problems::format(found[0]), "t.effect:1: \"1,5\" is not a number: \"Start 1,5\"; the value is read as 1");
    EXPECT_EQ(problems::format(found[1]), "t.effect:2: \"thirty\" is not a number: \"End thirty\"; the value is read as 0");
    EXPECT_EQ(found[2].line, 3);
    EXPECT_EQ(found[2].message, "\"1e39\" is beyond the largest number a value can hold");
    EXPECT_EQ(found[3].message, "\"2.5\" is not a whole number");
    EXPECT_EQ(found[4].message, "\"99999999999\" is beyond the largest whole number a value can hold");
    EXPECT_FLOAT_EQ(a, -150.0f);
}

// A comment-only line inside a block is an unknown line; its error says it was a comment and
// shows it without the carriage return of a Windows line end.
TEST(ScriptReader, ErrorsAtCommentLinesShowTheComment)
{
    ScriptReader r;
    std::istringstream in("Tunnel {\r\n\t; slower here\r\n\tSpede 2\r\n");
    r.next(in);
    r.next(in);
    EXPECT_TRUE(r.line.empty());
    const ImageScriptException e = r.error("TunnelEffect unknown token");
    EXPECT_TRUE(e.commentLine);
    EXPECT_EQ(e.lineText, "; slower here");
    EXPECT_EQ(problems::plainWords(e), "a comment line is not allowed inside a Tunnel block; put it after the "
                                       "block's last line or at the end of a keyword line");
    r.next(in);
    // Printed line text never carries the carriage return.
    EXPECT_EQ(r.error("TunnelEffect unknown token").location(), "(script) line 3: \"Spede 2\"");
    EXPECT_EQ(problems::plainWords(ImageScriptException("PARSE ERROR! Unknown Shader Token", 1)),
              "no keyword of the Shader block takes this line");
    EXPECT_EQ(problems::plainWords(ImageScriptException("Effect unable to load Keyframer", 1)),
              "Effect unable to load Keyframer");
    EXPECT_EQ(problems::plainWords(ImageScriptException("PARSE ERROR! Envelope not read in CoordV", 1)),
              "Envelope not read in CoordV");
}

// The format reference, docs/formats.md, against the code: every keyword and value word of the
// script readers' tables appears in it, and every example in it checks clean when put into a
// show (the starter show lends the pictures, materials and mesh the examples name).
#include "ProgramRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kSource = OCULITH_SOURCE_DIR;

std::string reference() { return testfiles::readFile(kSource + "/docs/formats.md"); }

// The words the script readers look for: the first string of each table entry ({"Rect ", ...})
// and every keyword test (contains("Apply {")), in the folders that read scripts.
std::set<std::string> scriptKeywords()
{
    std::vector<fs::path> files = {kSource + "/src/texture/TextureState.cpp"};
    for (const char* folder : {"effects", "material", "particles", "scenegraph", "animation"})
        for (const auto& entry : fs::directory_iterator(kSource + "/src/" + folder))
            if (entry.path().extension() == ".cpp")
                files.push_back(entry.path());
    const std::regex patterns[] = {std::regex(R"re(\{\s*"([^"\\]+)"\s*,)re"),
                                   std::regex(R"re(contains\("([^"\\]+)"\))re")};
    std::set<std::string> words;
    for (const fs::path& file : files) {
        const std::string text = testfiles::readFile(file.string());
        for (const std::regex& pattern : patterns) {
            for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
                std::string word = (*it)[1];
                // "Keyword {" and "Keyword " stand for the keyword itself.
                while (!word.empty() && (word.back() == ' ' || word.back() == '{'))
                    word.pop_back();
                if (!word.empty() && word != "}")
                    words.insert(word);
            }
        }
    }
    return words;
}

// Whether `word` stands in `text` on its own (not as part of a longer word).
bool mentions(const std::string& text, const std::string& word)
{
    const auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool startsClean = at == 0 || (!isWordChar(text[at - 1]) && text[at - 1] != '.');
        const std::size_t after = at + word.size();
        if (startsClean && (after >= text.size() || !isWordChar(text[after])))
            return true;
    }
    return false;
}

struct Example {
    std::string kind; // the fence's info word: effect, shader, scene, envelope, keyframer, particles
    std::string text;
    int line;         // of the opening fence in the reference
};

std::vector<Example> examples(const std::string& doc)
{
    std::vector<Example> found;
    std::istringstream in(doc);
    std::string line;
    Example* open = nullptr;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.rfind("```", 0) == 0) {
            if (open) {
                open = nullptr;
            } else {
                found.push_back({line.substr(3), "", number});
                open = &found.back();
            }
        } else if (open) {
            open->text += line + "\n";
        }
    }
    return found;
}

// The starter show without its own end line, so examples may set one and windows run long.
std::string starterWithoutEnd()
{
    const std::string dir = testfiles::tempDir("reference");
    fs::copy(kSource + "/examples/starter", dir, fs::copy_options::recursive);
    const std::string timeline = dir + "/data/scr/generic.effect";
    std::string text = testfiles::readFile(timeline);
    text.replace(text.find("ShowEnd 25"), std::string("ShowEnd 25").size(), "");
    testfiles::writeFile(timeline, text);
    return dir;
}

// Puts an example where its kind belongs in the show at `dir`; false for a kind with no place.
bool place(const Example& example, const std::string& dir)
{
    const std::string timeline = dir + "/data/scr/generic.effect";
    const auto addEffect = [&](const std::string& block) {
        testfiles::writeFile(timeline, testfiles::readFile(timeline) + "\n" + block);
    };
    const std::string imageHead = "Image {\n\tName \"example\"\n\tStart 0\n\tEnd 5\n\tLayer 200\n\tImage \"valley\"\n";
    if (example.kind == "effect")
        addEffect(example.text);
    else if (example.kind == "shader")
        testfiles::writeFile(dir + "/data/scr/generic.shader",
                             testfiles::readFile(dir + "/data/scr/generic.shader") + "\n" + example.text);
    else if (example.kind == "scene") {
        testfiles::writeFile(dir + "/data/scr/example.scene", example.text);
        addEffect("Scene {\n\tName \"example\"\n\tStart 10\n\tEnd 18\n\tLayer 45\n\tScene \"data\\scr\\example.scene\"\n}\n");
    } else if (example.kind == "envelope")
        addEffect(imageHead + "\tKeyframerLW {\n\t\tChannel 6\n" + example.text + "\t}\n\t; skipped\n}\n");
    else if (example.kind == "keyframer")
        addEffect(imageHead + example.text + "}\n");
    else if (example.kind == "particles")
        addEffect("Particle {\n\tName \"example\"\n\tStart 11\n\tEnd 18\n\tLayer 50\n" + example.text + "}\n");
    else
        return false;
    return true;
}

} // namespace

TEST(FormatReference, NamesEveryKeywordOfTheScriptReaders)
{
    const std::string doc = reference();
    const std::set<std::string> words = scriptKeywords();
    ASSERT_GT(words.size(), 150u) << "the readers' tables were not found";
    for (const std::string& word : words)
        EXPECT_TRUE(mentions(doc, word)) << "docs/formats.md does not mention \"" << word << "\"";
    // The kinds and the fixed names a show maker cannot guess.
    for (const char* fixed : {"generic.shader", "generic.effect", "oculith - edit 2 (64k).mp3", "confont",
                              "loading.jpg", "ShowEnd"})
        EXPECT_TRUE(mentions(doc, fixed)) << fixed;
}

TEST(FormatReference, EveryExampleChecksClean)
{
    const std::vector<Example> found = examples(reference());
    ASSERT_GE(found.size(), 20u);
    int checked = 0;
    for (const Example& example : found) {
        const std::string dir = starterWithoutEnd();
        if (!place(example, dir))
            continue;
        ++checked;
        const ProgramResult run = runOculith({"--data", dir, "--check"});
        EXPECT_EQ(run.exitCode, 0) << "the " << example.kind << " example at docs/formats.md line " << example.line
                                   << ":\n" << run.out << run.err;
    }
    EXPECT_EQ(checked, int(found.size())) << "every fenced block is an example of a known kind";
}

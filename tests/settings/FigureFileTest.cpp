// The figure-file reader: what good files hold and where bad ones stop, with
// the message a person sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/FigureFile.h"

namespace ratiscope {
namespace {

constexpr std::int32_t kLooks = 16;
constexpr double kPhi = 1.6180339887498949;

using K = TFigureStepKind;

TFigureStep Step(K kind, double a = 0, double b = 0, double c = 0, double d = 0) { return {kind, a, b, c, d, 0}; }
TFigureStep Counted(K kind, std::int32_t count) { return {kind, 0, 0, 0, 0, count}; }

TEST(FigureFile, GoodFilesGiveTheirStatementsInOrder) {
    struct Case {
        const char* name;
        std::string text;
        std::string figureName;
        std::vector<TFigureStep> steps;
    };
    const Case cases[] = {
        {"one line", "vline 1/3\n", "", {Step(K::VLine, 1.0 / 3)}},
        {"no final newline", "hline 0.5", "", {Step(K::HLine, 0.5)}},
        {"every statement",
         "frame\nvline 0.25\nhline .75\nline 0 0 1 1\ndiagonals\ncolumns 3\nrows 4\ncircle 1/2 1/2 1/4\n"
         "ellipse 0.5 0.5 0.5 0.25\nlook 3\n",
         "",
         {Step(K::Frame), Step(K::VLine, 0.25), Step(K::HLine, 0.75), Step(K::Line, 0, 0, 1, 1), Step(K::Diagonals),
          Counted(K::Columns, 3), Counted(K::Rows, 4), Step(K::Circle, 0.5, 0.5, 0.25),
          Step(K::Ellipse, 0.5, 0.5, 0.5, 0.25), Counted(K::Look, 3)}},
        {"phi and arithmetic", "vline 1/phi\nvline 1 - 1/phi\nhline (1 + 2) / (2 * 3)\nhline 1/phi/phi\n", "",
         {Step(K::VLine, 1 / kPhi), Step(K::VLine, 1 - 1 / kPhi), Step(K::HLine, 0.5),
          Step(K::HLine, 1 / kPhi / kPhi)}},
        {"a leading minus inside", "vline -0.5 + 1\n", "", {Step(K::VLine, 0.5)}},
        {"words in any case", "VLINE 1/PHI\nFrame\n", "", {Step(K::VLine, 1 / kPhi), Step(K::Frame)}},
        {"comments and blank lines", "# thirds\n\n  vline 1/3  # the first\n\t\n", "", {Step(K::VLine, 1.0 / 3)}},
        {"CR LF line ends and a byte-order mark", "\xEF\xBB\xBFname Drittel\r\nvline 1/3\r\n", "Drittel",
         {Step(K::VLine, 1.0 / 3)}},
        {"a name keeps any character", "name  Thirds # centre, 3,5 \xC2\xBD \nframe\n", "Thirds # centre, 3,5 \xC2\xBD",
         {Step(K::Frame)}},
        {"the ends of the ranges", "vline 0\nvline 1\ncolumns 2\ncolumns 1000\nlook 0\nlook 15\n", "",
         {Step(K::VLine, 0), Step(K::VLine, 1), Counted(K::Columns, 2), Counted(K::Columns, 1000),
          Counted(K::Look, 0), Counted(K::Look, 15)}},
        {"a whole number written as arithmetic", "rows 6/2\n", "", {Counted(K::Rows, 3)}},
    };
    for (const Case& c : cases) {
        const TFigureRead read = ReadFigureFile(c.text, kLooks);
        const auto* figure = std::get_if<TUserFigure>(&read);
        ASSERT_NE(figure, nullptr) << c.name << ": " << FigureErrorText(std::get<TFigureError>(read));
        EXPECT_EQ(figure->name, c.figureName) << c.name;
        EXPECT_EQ(figure->steps, c.steps) << c.name;
    }
}

TEST(FigureFile, BadFilesStopAtTheirFirstMistake) {
    struct Case {
        const char* name;
        std::string text;
        TFigureError error;
    };
    const std::string tooLong(kMaxFigureFileBytes + 1, '#');
    const Case cases[] = {
        {"empty", "", {1, 1, "the file draws nothing"}},
        {"only comments", "# nothing\n\nname Empty\n", {1, 1, "the file draws nothing"}},
        {"too large", tooLong, {1, 1, "the file is larger than 64 KB"}},
        {"binary", std::string("frame\nvl\0ine 0.5\n", 17), {2, 3, "not a text file: it holds a control byte"}},
        {"not UTF-8", "frame\n# caf\xE9\n", {2, 6, "not UTF-8 text"}},
        {"a cut UTF-8 sequence", "name \xC3", {1, 6, "not UTF-8 text"}},
        {"an overlong UTF-8 form", "name \xC0\xAF", {1, 6, "not UTF-8 text"}},
        {"the column counts characters", "name \xC3\xA9\xC3\xA9\x01", {1, 8, "not a text file: it holds a control byte"}},
        {"unknown word", "frame\n  vlines 0.5\n",
         {2, 3,
          "unknown word \"vlines\"; a line starts with frame, vline, hline, line, diagonals, columns, rows, circle, "
          "ellipse, look or name"}},
        {"a number first", "0.5\n",
         {1, 1,
          "a line starts with a word: frame, vline, hline, line, diagonals, columns, rows, circle, ellipse, look or "
          "name"}},
        {"a value missing", "line 0 0 1\n", {1, 11, "\"line\" takes 4 values; one is missing"}},
        {"a value too many", "vline 0.5 0.5\n", {1, 11, "\"vline\" takes one value; this is one too many"}},
        {"values after a bare word", "frame 1\n", {1, 7, "\"frame\" takes no values; this is one too many"}},
        {"above one", "hline 3/2\n", {1, 7, "1.5 is outside 0 to 1 (a fraction of the rectangle)"}},
        {"phi alone is above one", "vline phi\n", {1, 7, "1.61803 is outside 0 to 1 (a fraction of the rectangle)"}},
        {"below zero", "vline 1/3 - 1/2\n", {1, 7, "-0.166667 is outside 0 to 1 (a fraction of the rectangle)"}},
        {"division by zero", "vline 1 / (1 - 1)\n", {1, 9, "division by zero"}},
        {"decimal comma", "vline 0,5\n", {1, 8, "a decimal point is written \".\", not \",\""}},
        {"an open bracket", "vline (1/2\n", {1, 11, "\")\" expected"}},
        {"an operator at the end", "vline 1/\n", {1, 9, "a value expected at the end of the line"}},
        {"a stray character", "vline 1/\xC2\xBD\n", {1, 9, "a value expected, not \"\xC2\xBD\""}},
        {"an unknown word inside a value", "vline 1/pi\n", {1, 9, "a value expected, not \"pi\""}},
        {"nesting too deep", "vline " + std::string(20, '(') + "1" + std::string(20, ')') + "\n",
         {1, 24, "more than 16 brackets or signs inside each other"}},
        {"signs too deep", "vline " + std::string(40, '-') + "1\n", {1, 24, "more than 16 brackets or signs inside each other"}},
        {"a number too long", "vline 0." + std::string(40, '1') + "\n", {1, 7, "a number of more than 32 characters"}},
        {"a number too large", "vline 1" + std::string(30, '0') + "*1" + std::string(30, '0') + "*1" +
                                   std::string(30, '0') + "*1" + std::string(30, '0') + "*1" + std::string(30, '0') +
                                   "*1" + std::string(30, '0') + "*1" + std::string(30, '0') + "*1" +
                                   std::string(30, '0') + "*1" + std::string(30, '0') + "*1" + std::string(30, '0') +
                                   "*1" + std::string(30, '0') + "\n",
         {1, 7, "a number too large"}},
        {"one column", "columns 1\n", {1, 9, "1 is not a number of divisions (a whole number from 2 to 1000)"}},
        {"too many columns", "rows 1001\n", {1, 6, "1001 is not a number of divisions (a whole number from 2 to 1000)"}},
        {"half a column", "columns 2.5\n", {1, 9, "2.5 is not a number of divisions (a whole number from 2 to 1000)"}},
        {"a look past the last", "look 16\n", {1, 6, "16 is not a look number (a whole number from 0 to 15)"}},
        {"an empty name", "name   \nframe\n", {1, 1, "\"name\" needs the figure's name after it"}},
        {"a long name", "name " + std::string(201, 'x') + "\n", {1, 1, "a name of more than 200 bytes"}},
        {"too many lines", "columns 1000\n" + std::string("rows 1000\n") + "columns 1000\n" +
                               std::string("rows 1000\n") + "columns 1000\n" + std::string("rows 1000\n") +
                               "columns 1000\n" + std::string("rows 1000\n") + "columns 1000\n" +
                               std::string("rows 1000\n") + "columns 1000\n",
         {11, 1, "more than 10000 lines and circles"}},
        {"the first mistake wins", "vline 2\nfoo\n", {1, 7, "2 is outside 0 to 1 (a fraction of the rectangle)"}},
    };
    for (const Case& c : cases) {
        const TFigureRead read = ReadFigureFile(c.text, kLooks);
        const auto* error = std::get_if<TFigureError>(&read);
        ASSERT_NE(error, nullptr) << c.name;
        EXPECT_EQ(*error, c.error) << c.name << ": " << FigureErrorText(*error);
    }
}

TEST(FigureFile, ErrorTextNamesLineAndColumn) {
    EXPECT_EQ(FigureErrorText({3, 7, "division by zero"}), "line 3, column 7: division by zero");
}

}  // namespace
}  // namespace ratiscope

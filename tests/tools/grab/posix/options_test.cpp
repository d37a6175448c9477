// grab's command line: commands, the save dialog's answer, settings, and the mistakes it refuses.
#include "tools/grab/options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "controller/outputs/output_context.h"

namespace ph::grab {
namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string ignored;
  return ParseOptions(args, error ? error : &ignored);
}

TEST(GrabOptions, AnswersMapToTheDialogsKindsAndListEntries) {
  auto o = Parse({"auto", "page.html", "--kind", "html", "--to", "out.htm", "--portion=text", "--append"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->command, Command::kAuto);
  EXPECT_EQ(o->pages, std::vector<std::string>{"page.html"});
  EXPECT_EQ(o->answer.kind, kOutputHtml);
  // Kept whole: a later Quick Save from another folder must find the same place.
  EXPECT_EQ(o->answer.target, (std::filesystem::current_path() / "out.htm").string());
  EXPECT_EQ(o->answer.portion_list_index, 1);  // "Text" is the list's second entry
  EXPECT_EQ(o->answer.append, true);

  o = Parse({"quick", "a", "b", "c", "--kind", "database", "--portion", "html", "--dsn", "grabs", "--table", "t"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->pages.size(), 3u);
  EXPECT_EQ(o->answer.kind, kOutputDatabase);
  EXPECT_EQ(o->answer.portion_list_index, 2);
  EXPECT_EQ(o->settings.dsn, "grabs");
  EXPECT_EQ(o->settings.table, "t");
  EXPECT_FALSE(o->settings.user.has_value());
  EXPECT_FALSE(o->relocate_by_paths);
  EXPECT_EQ(o->jobs, 8u);
  o = Parse({"quick", "a", "--relocate", "paths"});
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->relocate_by_paths);
  o = Parse({"--jobs", "1", "--no-frames", "--skip-saved", "quick", "a"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->jobs, 1u);
  EXPECT_FALSE(o->frames);
  EXPECT_TRUE(o->skip_saved);
  o = Parse({"--hidden-window", "select", "a"});
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->hidden_window);
}

TEST(GrabOptions, AutoModeIsArticleUnlessCellsAreAskedFor) {
  EXPECT_FALSE(Parse({"auto", "a"})->auto_cells);
  EXPECT_TRUE(Parse({"auto", "a", "--auto-mode", "cells"})->auto_cells);
  EXPECT_FALSE(Parse({"--auto-mode=article", "auto", "a"})->auto_cells);
  std::string error;
  EXPECT_FALSE(Parse({"auto", "a", "--auto-mode", "tables"}, &error));
  EXPECT_EQ(error, "unknown --auto-mode 'tables' (article or cells)");
}

TEST(GrabOptions, PickTakesAPageAndPaths) {
  auto o = Parse({"--data-dir", "/d", "pick", "p.html", "frame[0]/TD[1]", "frame[0]/DIV[0]", "--kind", "clipboard"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->data_dir, "/d");
  EXPECT_EQ(o->pages, std::vector<std::string>{"p.html"});
  EXPECT_EQ(o->paths, (std::vector<std::string>{"frame[0]/TD[1]", "frame[0]/DIV[0]"}));
}

TEST(GrabOptions, DbTakesTestOrCreateTableAndOnlyTheLatterADialect) {
  auto o = Parse({"db", "test", "--dsn", "d"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->command, Command::kDbTest);
  EXPECT_TRUE(o->pages.empty());
  o = Parse({"--dialect=access", "db", "create-table"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->command, Command::kDbCreateTable);
  EXPECT_EQ(o->dialect, TableDialect::kAccess);
  EXPECT_FALSE(Parse({"db"}));
  EXPECT_FALSE(Parse({"db", "drop"}));
  EXPECT_FALSE(Parse({"db", "test", "--dialect", "mysql"}));
  EXPECT_FALSE(Parse({"db", "create-table", "--dialect", "oracle"}));
}

TEST(GrabOptions, MistakesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"fetch", "p"},
      {"auto"},
      {"auto", "a", "b"},
      {"pick", "p"},
      {"quick", "p", "--relocate", "fuzzy"},
      {"quick"},
      {"auto", "p", "--kind", "pdf"},
      {"auto", "p", "--kind", "text"},           // a file kind needs --to
      {"auto", "p", "--kind", "clipboard", "--to", "f"},
      {"auto", "p", "--portion", "all"},
      {"auto", "p", "--dsn"},
      {"auto", "p", "--bogus"},
      {"db", "test", "--browser"},            // a browser renders pages; db has none
      {"quick", "p", "--jobs", "0"},
      {"quick", "p", "--jobs=65"},
      {"quick", "p", "--jobs", "-1"},
      {"quick", "p", "--browser", "--no-frames"},  // the browser loads frames itself
      {"auto", "p", "--skip-saved"},               // only quick keeps a journal
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << ::testing::PrintToString(args);
    EXPECT_FALSE(error.empty());
  }
}

TEST(GrabOptions, PagesThatOnlyLookLikeUrlsAreRefusedWithAHint) {
  const std::pair<const char*, const char*> typos[] = {
      {"htp://example.org/a", "did you mean http://example.org/a"},
      {"http:/example.org/a", "did you mean http://example.org/a"},
      {"htps://example.org/a", "did you mean https://example.org/a"},
      {"example.org:8080/a", "did you mean http://example.org:8080/a"},
      {"localhost:8000/a", "did you mean http://localhost:8000/a"},
      {"ftp://example.org/a", "not ftp:"},
  };
  for (const auto& [page, hint] : typos) {
    std::string error;
    EXPECT_FALSE(Parse({"quick", "ok.html", page}, &error)) << page;
    EXPECT_NE(error.find(hint), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(Parse({"fetch"}, &error));
  EXPECT_NE(error.find("select"), std::string::npos) << error;
  EXPECT_TRUE(Parse({"quick", "file:///x.html", "https://example.org/", "plain name.html"}));
}

TEST(GrabOptions, HelpAndVersionWinOverEverythingElse) {
  auto o = Parse({"auto", "--help"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->command, Command::kHelp);
  o = Parse({"--version", "quick"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->command, Command::kVersion);
  EXPECT_NE(HelpText().find("quick PAGE..."), std::string::npos);
}

}  // namespace
}  // namespace ph::grab

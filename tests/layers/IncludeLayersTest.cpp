// The layers of the source tree: each folder includes only from itself and from the
// folders it is built on, so that no part needs one that is built on top of it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
  std::string Folder;
  std::vector<std::string> Uses;
};

const std::vector<std::string> kPlatform = {"platform/core",    "platform/graphics",
                                            "platform/backend", "platform/controls",
                                            "platform/grids",   "platform/outline"};

std::vector<std::string> Plus(std::vector<std::string> A, const std::vector<std::string>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

const std::vector<Layer> kLayers = {
    {"platform/core", {}},
    {"platform/graphics", {"platform/core"}},
    {"platform/backend", {"platform/core", "platform/graphics"}},
    {"platform/controls", {"platform/core", "platform/graphics", "platform/backend"}},
    {"platform/grids",
     {"platform/core", "platform/graphics", "platform/backend", "platform/controls"}},
    {"platform/outline",
     {"platform/core", "platform/graphics", "platform/backend", "platform/controls"}},
    {"sparse", {"platform/core"}},
    {"editor", kPlatform},
    {"grid", Plus(kPlatform, {"editor"})},
    {"stringgrid", Plus(kPlatform, {"editor", "grid", "sparse"})},
    {"package", Plus(kPlatform, {"editor", "grid", "sparse", "stringgrid"})},
};

fs::path SourceRoot() {
  return fs::path(BW_TEST_DATA_DIR).parent_path().parent_path();
}

// The layer an include names: "platform/x" for the platform's folders, else the first
// folder of the path; empty for a header beside the includer.
std::string LayerOf(const std::string& Include) {
  const size_t First = Include.find('/');
  if (First == std::string::npos) return {};
  const std::string Top = Include.substr(0, First);
  if (Top != "platform") return Top;
  const size_t Second = Include.find('/', First + 1);
  return Second == std::string::npos ? std::string() : Include.substr(0, Second);
}

bool IsLayer(const std::string& Name) {
  for (const Layer& L : kLayers)
    if (L.Folder == Name) return true;
  return false;
}

TEST(IncludeLayers, NoFolderIncludesOneBuiltOnIt) {
  const std::regex Include(R"re(^\s*#\s*include\s*"([^"]+)")re");
  int Files = 0;
  for (const Layer& L : kLayers) {
    const fs::path Dir = SourceRoot() / L.Folder;
    if (!fs::exists(Dir)) continue;
    for (const auto& Entry : fs::recursive_directory_iterator(Dir)) {
      const std::string Ext = Entry.path().extension().string();
      if (Ext != ".h" && Ext != ".cpp") continue;
      ++Files;
      std::ifstream In(Entry.path());
      std::string Line;
      std::smatch M;
      while (std::getline(In, Line)) {
        if (!std::regex_search(Line, M, Include)) continue;
        const std::string Used = LayerOf(M[1]);
        if (Used.empty() || Used == L.Folder || !IsLayer(Used)) continue;
        bool Allowed = false;
        for (const std::string& U : L.Uses)
          Allowed = Allowed || U == Used;
        EXPECT_TRUE(Allowed) << fs::relative(Entry.path(), SourceRoot()).string() << " includes "
                             << M[1];
      }
    }
  }
  EXPECT_GT(Files, 100);
}

}  // namespace

#include "platform/core/ComponentPalette.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/TextCase.h"

namespace bw {

namespace {

struct TPage {
  String Name;
  std::vector<TClass> Classes;
};

std::vector<TPage>& Pages() {
  static std::vector<TPage> pages;
  return pages;
}

TPage* FindPage(const String& Name) {
  for (TPage& p : Pages())
    if (SameName(p.Name, Name)) return &p;
  return nullptr;
}

}  // namespace

void RegisterComponents(const String& Page, const std::vector<TClass>& Classes) {
  for (TClass c : Classes)
    if (GetClass(c->Name) != c)
      throw EClassNotFound("Class " + String(c->Name) + " must be registered before " +
                           "it is put on the palette");
  TPage* page = FindPage(Page);
  if (!page) page = &Pages().emplace_back(TPage{Page, {}});
  for (TClass c : Classes)
    if (std::find(page->Classes.begin(), page->Classes.end(), c) == page->Classes.end())
      page->Classes.push_back(c);
}

std::vector<String> PalettePages() {
  std::vector<String> names;
  for (const TPage& p : Pages())
    names.push_back(p.Name);
  return names;
}

std::vector<TClass> PaletteClasses(const String& Page) {
  const TPage* page = FindPage(Page);
  return page ? page->Classes : std::vector<TClass>{};
}

void ClearPalette() {
  Pages().clear();
}

}  // namespace bw

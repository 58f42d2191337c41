// The directory chooser's tree as a robot reads it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialogs.h"

namespace setup::testing {

// The texts of the top-level items (parent null) or of parent's children.
inline std::vector<std::string> childTexts(HWND tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  HTREEITEM item = parent == nullptr ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
  for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    texts.push_back(win32::treeItemText(tree, item));
  }
  return texts;
}

inline HTREEITEM childNamed(HWND tree, HTREEITEM parent, const std::string& text) {
  HTREEITEM item = parent == nullptr ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
  for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    if (win32::treeItemText(tree, item) == text) return item;
  }
  return nullptr;
}

}  // namespace setup::testing

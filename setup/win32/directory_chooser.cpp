// The directory chooser (GETDIRDEST): a tree of the drives and their
// folders, listed lazily one level ahead of what is open.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/win32/handles.h"
#include "dialogs.h"
#include "messages.h"
#include "resource.h"

namespace setup::win32 {

namespace {

enum TreeImage { kOpenFolder = 0, kClosedFolder = 1, kDriveImage = 2 };

// The path chosen last; it lives as long as the program.
char chosenPath[MAX_PATH];

HWND treeOf(HWND dialog) { return GetDlgItem(dialog, IDC_TREE); }

// The drive's text, then a backslash and the text of each level below.
std::string itemPath(HWND tree, HTREEITEM item) {
  std::string path = treeItemText(tree, item);
  for (HTREEITEM parent = TreeView_GetParent(tree, item); parent != nullptr;
       parent = TreeView_GetParent(tree, parent)) {
    path = treeItemText(tree, parent) + "\\" + path;
  }
  return path;
}

HTREEITEM addItem(HWND tree, HTREEITEM parent, const char* text, int image, int selectedImage) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  return TreeView_InsertItem(tree, &insert);
}

// The subdirectories of directory become the children of item, sorted.
void listChildren(HWND tree, HTREEITEM item, const std::string& directory) {
  WIN32_FIND_DATAA found;
  win::UniqueFind listing(FindFirstFileA((directory + "/*.*").c_str(), &found));
  if (listing.get() == INVALID_HANDLE_VALUE) return;
  do {
    bool dots = std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !dots) {
      addItem(tree, item, found.cFileName, kClosedFolder, kOpenFolder);
    }
  } while (FindNextFileA(listing.get(), &found));
  TreeView_SortChildren(tree, item, FALSE);
}

void deleteChildren(HWND tree, HTREEITEM item) {
  while (HTREEITEM child = TreeView_GetChild(tree, item)) TreeView_DeleteItem(tree, child);
}

// What an item shows when it opens or is selected: its path in the label,
// and the next level listed anew under each of its children.
void openItem(HWND dialog, HTREEITEM item) {
  HWND tree = treeOf(dialog);
  std::string path = itemPath(tree, item);
  SetDlgItemTextA(dialog, IDC_PATH_LABEL, ("Install into " + path + "\\").c_str());
  for (HTREEITEM child = TreeView_GetChild(tree, item); child != nullptr;
       child = TreeView_GetNextSibling(tree, child)) {
    deleteChildren(tree, child);
    listChildren(tree, child, itemPath(tree, child));
  }
}

void setImages(HWND tree) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR8, 3, 0);
  for (int id : {IDB_FOLDER_OPEN, IDB_FOLDER_CLOSED, IDB_DRIVE}) {
    win::UniqueGdiObject bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    ImageList_Add(images, static_cast<HBITMAP>(bitmap.get()), nullptr);
  }
  if (ImageList_GetImageCount(images) < 3) {
    MessageBoxA(nullptr, "Pas Bon", "InitTreeViewImageLists", MB_OK);
    ImageList_Destroy(images);
    return;
  }
  TreeView_SetImageList(tree, images, TVSIL_NORMAL);
}

void listDrives(HWND tree) {
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives >> i & 1) == 0) continue;
    char root[] = {static_cast<char>('a' + i), ':', '\\', '\0'};
    UINT type = GetDriveTypeA(root);
    if (type == DRIVE_UNKNOWN || type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_RAMDISK) {
      continue;
    }
    root[2] = '\0';
    HTREEITEM drive = addItem(tree, TVI_ROOT, root, kDriveImage, kDriveImage);
    listChildren(tree, drive, root);
  }
}

void makeNewDirectory(HWND dialog) {
  HWND tree = treeOf(dialog);
  HTREEITEM selected = TreeView_GetSelection(tree);
  if (selected == nullptr) return;  // nowhere to make it
  std::string parent = itemPath(tree, selected);
  std::optional<std::string> name = askNewDirectoryName(dialog);
  if (!name) return;
  HTREEITEM item = addItem(tree, selected, name->c_str(), kClosedFolder, kOpenFolder);
  TreeView_SelectItem(tree, item);
  TreeView_SortChildren(tree, selected, FALSE);
  CreateDirectoryA((parent + "/" + *name).c_str(), nullptr);
}

INT_PTR CALLBACK chooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND tree = treeOf(dialog);
      setImages(tree);
      SetDlgItemTextA(dialog, IDC_PATH_LABEL, "Choose a directory...");
      listDrives(tree);
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_TREE) break;
      const auto* view = reinterpret_cast<const NMTREEVIEWA*>(lParam);
      if (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW ||
          header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
        openItem(dialog, view->itemNew.hItem);
      }
      return FALSE;  // expanding goes on
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          HWND tree = treeOf(dialog);
          HTREEITEM selected = TreeView_GetSelection(tree);
          if (selected == nullptr) {
            EndDialog(dialog, 0);
            return TRUE;
          }
          std::string path = itemPath(tree, selected);
          // A path that does not fit is refused, never cut: the chooser
          // stays open for another choice.
          if (path.size() >= sizeof chosenPath) {
            std::vector<char> message(path.size() + std::strlen(text::kPathTooLong));
            std::snprintf(message.data(), message.size(), text::kPathTooLong, path.c_str());
            MessageBoxA(dialog, message.data(), text::kErrorCaps, MB_OK);
            return TRUE;
          }
          std::memcpy(chosenPath, path.c_str(), path.size() + 1);
          EndDialog(dialog, 1);
          return TRUE;
        }
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDC_NEW_DIRECTORY: makeNewDirectory(dialog); return TRUE;
        default: break;
      }
      break;
    case WM_DESTROY: {
      HIMAGELIST images = TreeView_SetImageList(treeOf(dialog), nullptr, TVSIL_NORMAL);
      if (images != nullptr) ImageList_Destroy(images);
      break;
    }
    default: break;
  }
  return FALSE;
}

}  // namespace

std::string treeItemText(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {};
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  TreeView_GetItem(tree, &data);
  return text;
}

std::optional<std::string> chooseDirectory(HWND owner) {
  if (DialogBoxParamA(GetModuleHandleA(nullptr), "GETDIRDEST", owner, chooserProc, 0) != 1) {
    return std::nullopt;
  }
  return std::string(chosenPath);
}

}  // namespace setup::win32

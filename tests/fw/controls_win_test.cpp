// The combo box, list view, image list and menu wrappers on real controls of the program's templates.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "fw/combo_box_win.h"
#include "support/dialog_probe_win.h"
#include "fw/image_list_win.h"
#include "fw/list_view_win.h"
#include "fw/menu_win.h"
#include "resource.h"

TEST(ControlWrappers, ComboBoxRefillSelectAndReadBack) {
  ASSERT_EQ(InspectTemplate(IDD_CONFIGURE,
                            [](HWND dialog) {
                              CComboBox combo;
                              combo.Bind(dialog, IDC_PRESET_COMBO);
                              ASSERT_TRUE(combo.IsBound());
                              EXPECT_EQ(combo.id(), IDC_PRESET_COMBO);
                              combo.ResetContent();
                              EXPECT_EQ(combo.GetCount(), 0);
                              EXPECT_EQ(combo.AddString("Zeta"), 0);
                              EXPECT_EQ(combo.AddString("Alpha"), 1);  // unsorted: kept in order
                              combo.SetCurSel(1);
                              EXPECT_EQ(combo.GetCurSel(), 1);
                              char text[32] = {};
                              ASSERT_EQ(combo.GetLBTextLen(1), 5);
                              combo.GetLBText(1, text);
                              EXPECT_STREQ(text, "Alpha");
                              EXPECT_EQ(combo.SetCurSel(6), CB_ERR);  // outside the list: no selection
                              EXPECT_EQ(combo.GetCurSel(), CB_ERR);
                            }),
            IDCANCEL);
}

TEST(ControlWrappers, ListViewWithIconImagesAndSingleSelection) {
  ASSERT_EQ(InspectTemplate(IDD_CONFIGURE,
                            [](HWND dialog) {
                              CImageList images;
                              ASSERT_TRUE(images.Create(16, 16, ILC_COLOR, 10, 10));
                              HICON icon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_INTERFACE));
                              ASSERT_NE(icon, nullptr);
                              EXPECT_EQ(images.AddIcon(icon), 0);
                              EXPECT_EQ(images.GetImageCount(), 1);

                              CListView list;
                              list.Bind(dialog, IDC_INTERFACE_LIST);
                              list.SetImageList(images.handle(), LVSIL_SMALL);
                              EXPECT_EQ(list.GetImageList(LVSIL_SMALL), images.handle());
                              images.Detach();  // the list view destroys it with itself
                              EXPECT_EQ(images.handle(), nullptr);

                              const char* names[] = {"Loopback", "Ethernet adapter", "Wireless"};
                              for (int i = 0; i < 3; ++i) EXPECT_EQ(list.InsertItem(i, names[i], 0), i);
                              EXPECT_EQ(list.GetItemCount(), 3);
                              char text[64] = {};
                              list.GetItemText(1, text, sizeof text);
                              EXPECT_STREQ(text, "Ethernet adapter");

                              const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
                              ASSERT_TRUE(list.SetItemState(1, both, both));
                              EXPECT_EQ(list.GetItemState(1, both), both);
                              list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
                              EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), 0u);  // single selection
                              EXPECT_EQ(list.GetItemState(2, LVIS_SELECTED),
                                        static_cast<UINT>(LVIS_SELECTED));
                            }),
            IDCANCEL);
}

TEST(ControlWrappers, PopupMenuChecksItsItemsByCommand) {
  HMENU handle = nullptr;
  {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopup());
    handle = menu.handle();
    menu.Append(500, "Always On Top");
    menu.AppendSeparator();
    menu.Append(503, "Current Receive");
    menu.Append(504, "Last min. avg");
    EXPECT_EQ(menu.GetItemCount(), 4);
    menu.CheckItem(503, true);
    EXPECT_TRUE(menu.IsChecked(503));
    EXPECT_FALSE(menu.IsChecked(504));
    menu.CheckItem(503, false);
    menu.CheckItem(504, true);
    EXPECT_FALSE(menu.IsChecked(503));
    EXPECT_TRUE(menu.IsChecked(504));
    EXPECT_EQ(menu.CheckItem(999, true), static_cast<DWORD>(-1));
    EXPECT_FALSE(menu.IsChecked(999));
    EXPECT_TRUE(IsMenu(handle));
  }
  EXPECT_FALSE(IsMenu(handle));  // destroyed with its owner
}

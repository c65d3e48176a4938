#include "ui/CaptionTable.h"

namespace tessaly {

const std::array<CaptionRow, 14>& CaptionTable() {
  static const std::array<CaptionRow, 14> table = {{
      {"Label1", "Directory :", "目     錄:"},
      {"Label5", "Picture Date :", "拍 照 日 期 :"},
      {"Label7", "Picture Time :", "拍 照 時 間 :"},
      {"Label8", "Original File Name :", "原 始 檔 案 名 稱 :"},
      {"Label10", "New File Name :", "新 檔 案 名 稱 :"},
      {"Label11", "Rename Count =", "已更名檔案數 ="},
      {"Label13", "Auto Separate Sub-Directory", "自動按拍照日期建立子目錄"},
      {"Label14", "Add Maker Name to Filename", "檔名中加入相機廠牌名稱"},
      {"Label15", "Add Model Name to Filename", "檔名中加入相機型號名稱"},
      {"Command1", "Select Directory", "選擇照片目錄"},
      {"Command2", "Start", "開始"},
      {"Command3", "Close", "結束"},
      {"Command4", "View Rename List", "檢視更名清單"},
      {"Command5", "中文", "English"},
  }};
  return table;
}

}  // namespace tessaly

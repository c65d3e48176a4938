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

QString DialogCaption(DialogText text, int languageIndex) {
  // In the order of DialogText: English, Traditional Chinese.
  static const std::string_view table[][2] = {
      {"Confirm File Replace", "確認取代檔案"},
      {"This folder already contains a file named \"%1\".\n\n"
       "Would you like to replace the existing file\n%2\n\nwith this one?\n%3",
       "此資料夾已有名為「%1」的檔案。\n\n是否要將現有的檔案\n%2\n\n取代為這個檔案？\n%3"},
      {"%1\n    %2 bytes, modified %3", "%1\n    %2 位元組，修改日期 %3"},
      {"&Yes", "是(&Y)"},
      {"&No", "否(&N)"},
      {"Yes to &All", "全部皆是(&A)"},
      {"N&o to All", "全部皆否(&O)"},
      {"Nothing was renamed.", "沒有任何檔案被更名。"},
      {"Pictures passed over", "略過的照片"},
      {"%1 problem(s) in this run:", "本次執行共有 %1 個問題："},
      {"Not renamed, left as they were", "未更名，保持原狀"},
      {"Renamed, but not moved into the date directory", "已更名，但未移入日期子目錄"},
      {"Not read", "無法讀取"},
      {"Copy", "複製"},
      {"Close", "關閉"},
  };
  const std::string_view caption = table[static_cast<int>(text)][languageIndex == 0 ? 0 : 1];
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

ReplaceQuestionWords ReplaceQuestionCaptions(int languageIndex) {
  auto caption = [languageIndex](DialogText text) { return DialogCaption(text, languageIndex); };
  return {caption(DialogText::ReplaceTitle),
          caption(DialogText::ReplaceQuestion),
          caption(DialogText::ReplaceFileFacts),
          caption(DialogText::Yes),
          caption(DialogText::No),
          caption(DialogText::YesToAll),
          caption(DialogText::NoToAll)};
}

}  // namespace tessaly

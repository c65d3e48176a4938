#include "ui/CaptionTable.h"

namespace tessaly {

const std::array<CaptionRow, 14>& CaptionTable() {
  using enum Control;
  static const std::array<CaptionRow, 14> table = {{
      {DirectoryCaption, "Directory :", "目     錄:"},
      {DateCaption, "Picture Date :", "拍 照 日 期 :"},
      {TimeCaption, "Picture Time :", "拍 照 時 間 :"},
      {FileNameCaption, "Original File Name :", "原 始 檔 案 名 稱 :"},
      {NewNameCaption, "New File Name :", "新 檔 案 名 稱 :"},
      {CountCaption, "Rename Count =", "已更名檔案數 ="},
      {DateDirectoriesCaption, "Auto Separate Sub-Directory", "自動按拍照日期建立子目錄"},
      {MakerCaption, "Add Maker Name to Filename", "檔名中加入相機廠牌名稱"},
      {ModelCaption, "Add Model Name to Filename", "檔名中加入相機型號名稱"},
      {SelectDirectory, "Select Directory", "選擇照片目錄"},
      {Start, "Start", "開始"},
      {Close, "Close", "結束"},
      {ViewRenameList, "View Rename List", "檢視更名清單"},
      {Language, "中文", "English"},
  }};
  return table;
}

std::string_view CaptionIn(const CaptionRow& row, CaptionLanguage language) {
  return language == CaptionLanguage::English ? row.english : row.chinese;
}

std::string_view DialogCaption(DialogText text, CaptionLanguage language) {
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
      {"%1 cannot be opened: %2", "無法開啟 %1：%2"},
      {"Preview…", "預覽…"},
      {"Undo Last Run…", "復原上次更名…"},
      {"Open Journal Folder", "開啟紀錄資料夾"},
      {"Preview: what Start would do", "預覽：按下開始後將會如何"},
      {"Would rename %1 pictures and move %2 into %3 date directories; %4 keep their names, "
       "%5 passed over.",
       "將更名 %1 個檔案，並將 %2 個移入 %3 個日期子目錄；%4 個保持原名，略過 %5 個。"},
      {"Preview: %1", "預覽：%1"},
      {"would ask to replace %1", "將詢問是否取代 %1"},
      {"Undo Last Run", "復原上次更名"},
      {"Would make %1 moves back and remove %2 directories; %3 left as they are.",
       "將進行 %1 次移回並移除 %2 個目錄；%3 項保持原狀。"},
      {"&Undo", "復原(&U)"},
      {"Cancel", "取消"},
      {"Nothing to undo: every change of the last run is undone already.",
       "沒有可復原的變更：上次更名的每項變更都已復原。"},
      {"%1: a run is still using it.", "%1：仍有更名正在使用。"},
      {"Nothing was undone.", "沒有任何變更被復原。"},
      {"Not moved back, left as they are", "未移回，保持原狀"},
      {"Moved back, but the file each had replaced is lost", "已移回，但被其取代的檔案已遺失"},
  };
  return table[static_cast<int>(text)][static_cast<int>(language)];
}

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (pattern[at] == '%' && next >= '1' && index < values.size()) {
      text += values.begin()[index];
      ++at;
    } else {
      text += pattern[at];
    }
  }
  return text;
}

}  // namespace tessaly

#include "retrieval/package/PackageInfoTexts.h"

std::string PackageFileErrorText(std::string_view packagePath) {
  std::string text(packagePath);
  text += "\r\n\r\n";
  text += "文件错误！！！ ";
  text += "\r\n\r\n";
  text += "请到岚舟网站重新下载试试";
  text += "\r\n\r\n";
  text += "   　－－－－感谢你使用【岚舟软件】";
  return text;
}

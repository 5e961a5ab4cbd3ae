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

std::string PackageNotPublishersText(std::string_view packagePath) {
  std::string text(packagePath);
  text += "\r\n\r\n";
  text += "此文件不是岚舟软件发布的安装包！！！ ";
  text += "\r\n\r\n";
  text += "可能在下载途中被替换或损坏，请重试下载";
  text += "\r\n\r\n";
  text += "   　－－－－感谢你使用【岚舟软件】";
  return text;
}

#pragma once

#include <string>

// Class-name rules of the message loop's keyboard handling.

// Forms are recognised by class names that begin with "FORM_".
bool IsFormClassName(const std::string& className);

// The loop rewrites Esc and Tab only for edit-like windows: "EDIT" or the rich-edit class
// in use, compared after upper-casing ASCII letters.
bool IsEditLikeClassName(const std::string& className, const std::string& richEditClass);

#include "state/WizardState.h"

int32_t CurrentPage = kWelcomePage;
std::string PageTitle;
std::string PageSubtitle;

#include "state/WizardState.h"

#include "wizard/PageModel.h"

int32_t CurrentPage = kWelcomePage;
std::string PageTitle;
std::string PageSubtitle;

#include "CVProgressBarStyle.h"

#include "CVHouseColors.h"
#include "VelRootFrm.h"

const TProgressBarStyleColors ProgressBarStyleDefaults = {HouseProgressColor, HouseProgressFrameColor, clWhite};

void StyleProgressBar(TProgressBar* Bar, const TProgressBarStyleColors& Colors)
{
    Bar->SetBarColor(Colors.Bar);
    Bar->SetFrameColor(Colors.Frame);
    Bar->SetColor(Colors.Back);
}

void RegisterProgressBarStyle()
{
    AddHouseLookRule(HouseLookRule<TProgressBar, StyleProgressBar, ProgressBarStyleDefaults>);
}

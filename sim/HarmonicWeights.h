#pragma once
// Frequency weightings of the telephone-interference figures: the 1960 TIF weights
// (defined at the harmonics of 60 Hz) and the psophometric weighting (1 at 800 Hz).

// TIF weight at `hz`, interpolated linearly between the tabulated harmonics of 60 Hz;
// below 60 Hz and above 3000 Hz the end values hold.
double TifWeight(double hz);

// Psophometric weight at `hz`, interpolated linearly between the tabulated frequencies;
// below 50 Hz and above 5000 Hz the end values hold.
double PsophometricWeight(double hz);

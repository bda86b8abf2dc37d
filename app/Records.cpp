#include "Records.h"

BirthDataRecord BirthData;
ReadingStateRecord ReadingState;

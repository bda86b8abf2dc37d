#include "records/Records.h"

BirthDataRecord BirthData;
ReadingStateRecord ReadingState;

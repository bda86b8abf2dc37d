#include "records/Records.h"

Birth BirthData;
ReadingStateRecord ReadingState;

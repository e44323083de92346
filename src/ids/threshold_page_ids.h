// The threshold pages' templates (first and second port of the pair), their
// counter clear button and their edits.
#ifndef T740_IDS_THRESHOLD_PAGE_IDS_H
#define T740_IDS_THRESHOLD_PAGE_IDS_H

namespace t740::ids::threshold_page {

constexpr int kFirstTemplate = 1027;
constexpr int kSecondTemplate = 1030;
constexpr int kClear = 1004;
// The edits of a page, by port block index: per layer, the 15-minute
// counters and then the 24-hour ones.
constexpr int kEdits[] = {
    1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032,  // regenerator section
    1033, 1037, 1039, 1041, 1043, 1034, 1038, 1040, 1042, 1044,  // multiplex section
    1045, 1047, 1049, 1051, 1053, 1046, 1048, 1050, 1052, 1054,  // far-end multiplex section
    1055, 1057, 1059, 1061, 1063, 1082, 1084,                    // higher-order path, 15 min
    1056, 1058, 1060, 1062, 1064, 1083, 1085,                    // higher-order path, 24 h
    1065, 1067, 1069, 1071, 1073, 1066, 1068, 1070, 1072, 1074,  // far-end higher-order path
};

}  // namespace t740::ids::threshold_page

#endif

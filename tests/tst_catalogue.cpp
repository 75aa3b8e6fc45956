#include "core/Fonts.h"
#include "templates/Catalogue.h"
#include "app/CatalogueJson.h"
#include "templates/FormPicture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(corvane::PrintWindowKind)

using namespace corvane;

namespace {

// Slot bindings as the companies' forms carry them: number, S/R, column, and /px for large type.
struct ExpectedBindings {
    int templateNumber;
    const char* bindings;
};
const ExpectedBindings expectedBindings[] = {
        {1, "1S姓名 2S手机 3S电话 4S寄件单位 5S地址 6S邮编 7R姓名 8R手机 9R电话 10R收件单位 11R地址 12R城市 13R邮编 14R数量 15R内件品名 16S签名 17S年 18S月 19S日 20R备注"},
        {2, "21S姓名 22S城市 23S地址 24S寄件单位 25S手机 26S电话 27R内件品名 28S签名 29S年 30S月 31S日 32R姓名 33R城市 34R地址 35R收件单位 36R手机 37R电话 464R城市/48"},
        {3, "38S姓名 39S城市 40S寄件单位 41S地址 42S手机 43S电话 44R内件品名 45R数量 46S签名 47S年 48S月 49S日 50R姓名 51R城市 52R收件单位 53R地址 54R手机 55R电话 56R备注 465R城市/48"},
        {4, "57S姓名 58S城市 59S寄件单位 60S地址 61S手机 62S电话 63S邮编 64R内件品名 65S签名 66S年 67S月 68S日 69R城市 70R手机 71R电话 72R收件单位 73R地址 74R姓名 75R邮编 76R备注 466R城市/48"},
        {5, "77S地址 78S寄件单位 79S姓名 80S手机 81S电话 82R内件品名 83R数量 84R备注 85S签名 86S年 87S月 88S日 89R地址 90R收件单位 91R姓名 92R手机 93R电话 467R城市/48"},
        {6, "94S姓名 95S城市 96S寄件单位 97S地址 98S手机 99S电话 100R内件品名 101R数量 102S签名 103S年 104S月 105S日 106R姓名 107R城市 108R收件单位 109R地址 110R手机 111R电话 468R城市/48"},
        {7, "112S地址 113S寄件单位 114S姓名 115S手机 116S电话 117R内件品名 118R数量 119R备注 120S签名 121S年 122S月 123S日 124R地址 125R收件单位 126R姓名 127R手机 128R电话"},
        {8, "129S城市 130R城市 131S姓名 132S手机 133S电话 134S寄件单位 135S地址 136R姓名 137R手机 138R电话 139R收件单位 140R地址 141R内件品名 142S签名 143S月 144S日 145R备注"},
        {9, "146S城市 147R城市 148S寄件单位 149S姓名 150S地址 151S手机 152S电话 153R收件单位 154R姓名 155R地址 156R手机 157R电话 158R内件品名 159S签名 160S月 161S日 162R备注"},
        {10, "163S姓名 164S城市 165S地址 166S寄件单位 167S手机 168S电话 169S邮编 170R内件品名 171S签名 172S月 173S日 174R姓名 175R城市 176R地址 177R收件单位 178R手机 179R电话 180R邮编 181R备注 469R城市/48"},
        {11, "182S姓名 183S城市 184S寄件单位 185S地址 186S手机 187S电话 188S邮编 189R内件品名 190R数量 191S签名 192S年 193S月 194S日 195R城市 196R姓名 197R收件单位 198R地址 199R手机 200R电话 201R邮编 202R备注"},
        {12, "203R城市 204S姓名 205S地址 206S寄件单位 207S电话 208S手机 209R姓名 210R地址 211R收件单位 212R电话 213R手机 214S签名 215S年 216S月 217S日"},
        {13, "218S城市 219R城市 220S寄件单位 221S姓名 222S手机 223S邮编 224S地址 225R收件单位 226R姓名 227R手机 228R邮编 229R地址 230R数量 231R内件品名 232S签名 233S年 234S月 235S日"},
        {14, "236S姓名 237S城市 238S寄件单位 239S地址 240S手机 241S电话 242R内件品名 243R数量 244S签名 245S年 246S月 247S日 248R姓名 249R城市 250R收件单位 251R地址 252R手机 253R电话"},
        {15, "254S姓名 255S城市 256S寄件单位 257S地址 258S邮编 259S手机 260S电话 261R内件品名 262R数量 263R姓名 264R城市 265R收件单位 266R地址 267R邮编 268R手机 269R电话 270S签名 271S年 272S月 273S日 274R备注 470R城市/56"},
        {16, "275S城市 276R城市 277S寄件单位 278S姓名 279S手机 280S地址 281R收件单位 282R姓名 283R电话 284R手机 285R地址 286R内件品名 287R数量 288S签名 289S月 290S日 291R备注"},
        {17, "292S城市 293R城市 294S寄件单位 295S地址 296S姓名 297S手机 298R收件单位 299R地址 300R姓名 301R手机 302S签名 303S年 304S月 305S日 306R内件品名 307R数量 308R备注"},
        {18, "309S城市 310R城市 311S寄件单位 312S姓名 313S地址 314S手机 315S电话 316R收件单位 317R姓名 318R地址 319R手机 320R电话 321R内件品名 322S签名 323S月 324S日 325R备注"},
        {19, "326S城市 327R城市 328S寄件单位 329S地址 330S姓名 331S手机 332S电话 333R内件品名 334R数量 335S签名 336S月 337S日 338R收件单位 339R地址 340R姓名 341R手机 342R电话 343R备注"},
        {20, "344S姓名 345S手机 346S电话 347S寄件单位 348S地址 349R姓名 350R手机 351R电话 352R收件单位 353R地址 354S签名 355S月 356S日 357R内件品名 358R数量 359R备注 360R城市 361S城市"},
        {21, "362S寄件单位 363S地址 364S电话 365S手机 366S姓名 367R收件单位 368R地址 369R电话 370R手机 371R姓名 372R内件品名 373R备注 374R数量 375S签名 376S月 377S日"},
        {22, "378S城市 379R城市 380S寄件单位 381S姓名 382S手机 383S地址 384S邮编 385R收件单位 386R姓名 387R手机 388R地址 389R邮编 390R内件品名 391R数量 392S签名 393S月 394S日 395R备注"},
        {23, "396R城市 397S寄件单位 398S姓名 399S地址 400S手机 401S电话 402R内件品名 403R数量 404R收件单位 405R姓名 406R地址 407R手机 408R电话 409S签名 410S月 411S日 412S城市"},
        {24, "413S城市 414S寄件单位 415S地址 416S手机 417S电话 418S签名 419R内件品名 420R数量 421S年 422S月 423S日 424R城市 425R收件单位 426R地址 427R手机 428R电话 429R姓名 430R备注"},
        {25, "431S姓名 432S城市 433S地址 434S寄件单位 435S手机 436S电话 437R内件品名 438S签名 439S月 440S日 441R姓名 442R城市 443R地址 444R收件单位 445R手机 446R电话"},
        {26, "447S城市 448R城市 449S姓名 450S手机 451S电话 452S寄件单位 453S地址 454R姓名 455R手机 456R电话 457R收件单位 458R地址 459R内件品名 460S签名 461S月 462S日 463R备注"},
        {27, "471S姓名 472S城市 473S寄件单位 474S地址 475S邮编 476S手机 477S电话 478R内件品名 479R数量 480S签名 481S年 482S月 483S日 484R姓名 485R城市 486R收件单位 487R地址 488R邮编 489R手机 490R电话 491R城市/56"},
        {28, "492S姓名 493S城市 494S地址 495S寄件单位 496S手机 497S电话 498R内件品名 499S签名 500S年 501S月 502S日 503R姓名 504R城市 505R地址 506R收件单位 507R手机 508R电话 509R城市/29"},
        {29, "510S姓名 511S手机 512S电话 513S寄件单位 514S地址 515R姓名 516R手机 517R电话 518R收件单位 519R地址 520S签名 521S月 522S日 523R内件品名 524R数量 525S城市 526R城市 527R备注"},
        {30, "528R城市/48 529S姓名 530S城市 531S寄件单位 532S手机 533S地址 534S邮编 535R内件品名 536R备注 537R数量 538R姓名 539R城市 540R收件单位 541R手机 542R地址 543R邮编 544S签名 545S月 546S日"},
        {31, "547S城市 548R城市 549S寄件单位 550S姓名 551S手机 552S地址 553R收件单位 554R姓名 555R手机 556R地址 557R内件品名 558R数量 559S签名 560S月 561S日 562R备注"},
        {32, "563S城市 564R城市 565S寄件单位 566S姓名 567S地址 568S手机 569R收件单位 570R姓名 571R地址 572R电话 573R手机 574R内件品名 575R数量 576S签名 577S月 578S日 579R备注"},
        {33, "580S城市 581S寄件单位 582S地址 583S姓名 584S手机 585R城市 586R收件单位 587R地址 588R姓名 589R手机 590R内件品名 591R数量 592S签名 593S年 594S月 595S日 596R备注 597R城市/48"},
};

struct ExpectedTemplate {
    int number;
    const char* company;
    const char* variant;
    double pageWidth, pageLength;
    int bandWidth, bandHeight, screenOffset;
    QRect picture;
    QSize picturePixels;
    int slotCount;
    QPoint banner;
};
const ExpectedTemplate expectedTemplates[] = {
        {1, "EMS", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {870, 481}, 20, {72, 64}},
        {2, "申通", "模板二", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {873, 480}, 18, {64, 64}},
        {3, "天天", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {868, 480}, 20, {56, 88}},
        {4, "韵达", "模板二", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {869, 480}, 21, {56, 56}},
        {5, "国通", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 473}, {869, 474}, 18, {56, 80}},
        {6, "汇通", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 477}, {869, 480}, 19, {56, 64}},
        {7, "CCES", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 476}, {870, 481}, 17, {64, 88}},
        {8, "速尔", "模板一", 2300, 1270, 869, 480, -4, {0, 1, 869, 477}, {870, 481}, 17, {64, 72}},
        {9, "顺丰", "模板二", 2299.229, 1502.833, 869, 568, 0, {0, 1, 868, 566}, {869, 572}, 17, {56, 96}},
        {10, "中通", "模板一", 2300, 1270, 869, 480, 0, {0, 1, 869, 475}, {869, 474}, 20, {56, 72}},
        {11, "圆通", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {904, 500}, 21, {56, 64}},
        {12, "宅急送", "", 2299.229, 1410, 869, 533, 0, {0, 1, 869, 529}, {869, 530}, 15, {72, 112}},
        {13, "德邦", "模板一", 2299.229, 1410, 869, 533, 0, {0, 1, 869, 530}, {900, 553}, 18, {64, 56}},
        {14, "申通", "模板一", 2300, 1270, 869, 480, -4, {0, 1, 869, 477}, {870, 481}, 18, {56, 64}},
        {15, "韵达", "模板一", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {870, 481}, 22, {64, 72}},
        {16, "顺丰", "模板一", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {870, 481}, 17, {80, 88}},
        {17, "全一", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {871, 480}, 17, {72, 80}},
        {18, "顺丰", "模板三", 2159, 1402.292, 816, 530, 25, {0, 0, 816, 528}, {869, 563}, 17, {56, 80}},
        {19, "能达", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {869, 481}, 18, {72, 72}},
        {20, "信丰", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {869, 481}, 18, {72, 40}},
        {21, "联昊通", "", 2159, 1402.292, 816, 530, 25, {0, 0, 816, 528}, {770, 502}, 16, {56, 56}},
        {22, "顺丰", "模板四", 2159, 1402.292, 816, 530, 25, {0, 0, 816, 528}, {770, 503}, 18, {56, 72}},
        {23, "增益", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {870, 481}, 17, {72, 80}},
        {24, "安捷", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {870, 481}, 18, {64, 64}},
        {25, "快捷", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 475}, {870, 481}, 16, {56, 72}},
        {26, "速尔", "模板二", 2299.229, 1402.292, 869, 530, -4, {0, 1, 869, 528}, {902, 551}, 17, {72, 64}},
        {27, "韵达", "模板三", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {870, 481}, 21, {64, 72}},
        {28, "中通", "模板二", 2300, 1270, 869, 480, 0, {0, 1, 869, 475}, {870, 481}, 18, {64, 72}},
        {29, "龙邦", "", 2299.229, 1402.292, 869, 530, 0, {0, 0, 869, 528}, {870, 526}, 18, {64, 32}},
        {30, "全峰", "", 2300, 1270, 869, 480, 0, {0, 1, 869, 477}, {870, 481}, 19, {64, 88}},
        {31, "德邦", "模板二", 2299.229, 1410, 869, 533, 0, {0, 1, 869, 530}, {905, 551}, 16, {64, 72}},
        {32, "顺丰", "模板五", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {870, 481}, 17, {56, 88}},
        {33, "优速", "", 2300, 1270, 869, 480, -4, {0, 1, 869, 475}, {870, 481}, 18, {56, 48}},
};

struct ExpectedCaption {
    int number;
    const char* caption;
};
const ExpectedCaption expectedCaptions[] = {
        {1, "EMS快递单模板"},
        {2, "申通快递单模板"},
        {3, "天天快递单模板"},
        {4, "韵达快递单模板"},
        {5, "国通快递单模板"},
        {6, "汇通快递单模板"},
        {7, "CCES快递单模板"},
        {8, "速尔快递单模板"},
        {9, "顺丰快递单模板"},
        {10, "中通快递单模板"},
        {11, "圆通快递单模板"},
        {12, "宅急送快递单模板"},
        {13, "德邦物流模板"},
        {14, "申通快递单模板"},
        {15, "韵达快递单模板"},
        {16, "顺丰快递单模板"},
        {17, "全一快递单模板"},
        {18, "顺丰快递单模板"},
        {19, "能达快递单模板"},
        {20, "信丰物流模板"},
        {21, "联昊通快递单模板"},
        {22, "顺丰快递单模板"},
        {23, "增益快递单模板"},
        {24, "安捷快递单模板"},
        {25, "快捷快递单模板"},
        {26, "速尔快递单模板"},
        {27, "韵达快递单模板"},
        {28, "中通快递单模板"},
        {29, "龙邦物流模板"},
        {30, "全峰快递单模板"},
        {31, "德邦快递单模板"},
        {32, "顺丰快递单模板"},
        {33, "优速快递单模板"},
};

// Templates 1, 15, 18 in full and the other large-type boxes, as measured on the forms.
struct ExpectedRect {
    int slot;
    QRect rect;
};
const ExpectedRect measuredRects[] = {
        {1, {120, 100, 97, 22}},
        {2, {272, 88, 175, 22}},
        {3, {272, 110, 175, 22}},
        {4, {128, 132, 319, 22}},
        {5, {104, 155, 343, 22}},
        {6, {328, 178, 119, 22}},
        {7, {120, 216, 100, 22}},
        {8, {272, 205, 175, 22}},
        {9, {272, 228, 175, 22}},
        {10, {128, 250, 319, 22}},
        {11, {104, 273, 343, 42}},
        {12, {128, 317, 169, 22}},
        {13, {328, 317, 119, 22}},
        {14, {88, 363, 57, 22}},
        {15, {128, 386, 319, 22}},
        {16, {672, 195, 105, 22}},
        {17, {624, 222, 49, 22}},
        {18, {685, 222, 25, 22}},
        {19, {717, 222, 25, 22}},
        {20, {648, 368, 121, 41}},
        {254, {128, 106, 69, 22}},
        {255, {248, 106, 143, 22}},
        {256, {128, 135, 263, 22}},
        {257, {128, 160, 263, 49}},
        {258, {128, 211, 65, 22}},
        {259, {246, 210, 143, 22}},
        {260, {246, 235, 143, 22}},
        {261, {176, 350, 177, 39}},
        {262, {360, 350, 30, 22}},
        {263, {451, 105, 86, 22}},
        {264, {600, 105, 158, 22}},
        {265, {451, 135, 308, 22}},
        {266, {451, 160, 308, 49}},
        {267, {451, 211, 89, 22}},
        {268, {597, 211, 161, 22}},
        {269, {597, 234, 161, 22}},
        {270, {448, 288, 81, 22}},
        {271, {416, 312, 49, 22}},
        {272, {476, 312, 25, 22}},
        {273, {512, 312, 25, 22}},
        {274, {424, 405, 121, 22}},
        {470, {550, 344, 201, 73}},
        {309, {565, 76, 65, 22}},
        {310, {630, 76, 65, 22}},
        {311, {104, 132, 153, 45}},
        {312, {288, 148, 71, 22}},
        {313, {80, 178, 281, 49}},
        {314, {168, 228, 185, 22}},
        {315, {168, 250, 185, 22}},
        {316, {104, 284, 153, 39}},
        {317, {288, 300, 71, 22}},
        {318, {80, 330, 281, 49}},
        {319, {168, 378, 185, 22}},
        {320, {168, 400, 185, 22}},
        {321, {56, 448, 305, 22}},
        {322, {664, 312, 89, 22}},
        {323, {600, 353, 25, 22}},
        {324, {638, 353, 25, 22}},
        {325, {576, 480, 185, 41}},
        {464, {608, 344, 169, 65}},
        {465, {592, 40, 177, 65}},
        {466, {592, 328, 161, 65}},
        {467, {600, 368, 169, 57}},
        {468, {528, 32, 241, 57}},
        {469, {622, 275, 113, 145}},
        {491, {550, 352, 201, 73}},
        {509, {560, 360, 193, 81}},
        {528, {590, 51, 155, 54}},
        {597, {592, 80, 161, 65}},
};

struct ExpectedBanner {
    int templateNumber;
    PrintWindowKind window;
    QPoint banner;
};
const ExpectedBanner bannerDifferences[] = {
        {1, PrintWindowKind::Edd, {64, 64}},
        {2, PrintWindowKind::Pd, {56, 64}},
        {2, PrintWindowKind::Ped, {56, 64}},
        {4, PrintWindowKind::Edd, {64, 64}},
        {4, PrintWindowKind::Pd, {64, 64}},
        {4, PrintWindowKind::Ped, {64, 64}},
        {5, PrintWindowKind::Pd, {64, 80}},
        {6, PrintWindowKind::Pd, {64, 64}},
        {7, PrintWindowKind::Edd, {56, 88}},
        {9, PrintWindowKind::Pd, {64, 96}},
        {9, PrintWindowKind::Ped, {64, 96}},
        {10, PrintWindowKind::Pd, {56, 80}},
        {10, PrintWindowKind::Ped, {56, 80}},
        {11, PrintWindowKind::Ped, {64, 64}},
        {12, PrintWindowKind::Edd, {64, 104}},
        {12, PrintWindowKind::Pd, {72, 104}},
        {12, PrintWindowKind::Ped, {64, 104}},
        {14, PrintWindowKind::Edd, {48, 64}},
        {14, PrintWindowKind::Pd, {48, 64}},
        {14, PrintWindowKind::Ped, {48, 64}},
        {17, PrintWindowKind::Edd, {80, 80}},
        {17, PrintWindowKind::Pd, {80, 80}},
        {17, PrintWindowKind::Ped, {80, 80}},
        {21, PrintWindowKind::Ped, {56, 64}},
        {22, PrintWindowKind::Edd, {56, 64}},
        {23, PrintWindowKind::Pd, {72, 88}},
        {23, PrintWindowKind::Ped, {72, 88}},
        {25, PrintWindowKind::Edd, {64, 72}},
        {25, PrintWindowKind::Pd, {64, 72}},
        {25, PrintWindowKind::Ped, {64, 72}},
        {28, PrintWindowKind::Ped, {72, 72}},
        {29, PrintWindowKind::Pd, {64, 40}},
        {29, PrintWindowKind::Ped, {64, 40}},
        {30, PrintWindowKind::Pd, {64, 96}},
        {30, PrintWindowKind::Ped, {64, 96}},
        {31, PrintWindowKind::Pd, {64, 80}},
        {31, PrintWindowKind::Ped, {64, 80}},
};

const Catalogue& copyOf(PrintWindowKind kind)
{
    static const Catalogue dd(PrintWindowKind::Dd), edd(PrintWindowKind::Edd), pd(PrintWindowKind::Pd),
        ped(PrintWindowKind::Ped);
    switch (kind) {
    case PrintWindowKind::Dd: return dd;
    case PrintWindowKind::Edd: return edd;
    case PrintWindowKind::Pd: return pd;
    case PrintWindowKind::Ped: return ped;
    }
    return dd;
}

int overlap(const QRect& a, const QRect& b)
{
    const QRect i = a.intersected(b);
    return i.isEmpty() ? 0 : qMin(i.width(), i.height());
}

SlotRows rowsFrom(const QHash<QString, QString>& sender, const QHash<QString, QString>& recipient)
{
    return {[sender](const QString& c) { return sender.value(c); },
            [recipient](const QString& c) { return recipient.value(c); }};
}

// One value of a window's copy, named the way the difference table below names it.
double valueOf(const Catalogue& c, const QString& what, int number)
{
    if (what.startsWith(QLatin1String("slot.")) || what.startsWith(QLatin1String("view."))) {
        const TextSlot& s = c.slot(number);
        const QRect& r = what.startsWith(QLatin1String("slot.")) ? s.rect : s.viewRect;
        const QString field = what.mid(5);
        if (field == QLatin1String("x")) return r.x();
        if (field == QLatin1String("y")) return r.y();
        if (field == QLatin1String("w")) return r.width();
        if (field == QLatin1String("h")) return r.height();
        if (field == QLatin1String("bold")) return s.font.bold() ? 1 : 0;
    }
    const WaybillTemplate& t = c.waybillTemplate(number);
    if (what == QLatin1String("page.length")) return t.pageLength;
    if (what == QLatin1String("band.h")) return t.band.height();
    if (what == QLatin1String("picture.y")) return t.pictureRect.y();
    if (what == QLatin1String("picture.h")) return t.pictureRect.height();
    if (what == QLatin1String("picture.pw")) return t.pictureSize.width();
    if (what == QLatin1String("picture.ph")) return t.pictureSize.height();
    if (what == QLatin1String("offset")) return t.screenOffset;
    qFatal("unknown item %s", qPrintable(what));
}

}

class TestCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void bindings_data()
    {
        QTest::addColumn<int>("templateNumber");
        QTest::addColumn<QString>("bindings");
        for (const auto& b : expectedBindings)
            QTest::addRow("template %d", b.templateNumber) << b.templateNumber << QString::fromUtf8(b.bindings);
    }
    void bindings()
    {
        QFETCH(int, templateNumber);
        QFETCH(QString, bindings);
        static const QRegularExpression item(QStringLiteral("^(\\d+)([SR])([^/]+)(?:/(\\d+))?$"));
        for (PrintWindowKind kind : allPrintWindowKinds) {
            const WaybillTemplate& t = copyOf(kind).waybillTemplate(templateNumber);
            const QStringList expected = bindings.split(QLatin1Char(' '));
            QCOMPARE(t.textSlots.size(), expected.size());
            QList<int> numbers;
            for (const QString& e : expected) {
                const auto m = item.match(e);
                QVERIFY2(m.hasMatch(), qPrintable(e));
                const int number = m.captured(1).toInt();
                const TextSlot& s = copyOf(kind).slot(number);
                QCOMPARE(s.templateNumber, templateNumber);
                QCOMPARE(s.role, m.captured(2) == QLatin1String("S") ? SlotRole::Sender : SlotRole::Recipient);
                QCOMPARE(s.column, m.captured(3));
                const int px = m.captured(4).isEmpty() ? 15 : m.captured(4).toInt();
                QCOMPARE(s.fontPixelSize(), px);
                QCOMPARE(s.largeType, px != 15);
                QCOMPARE(s.font.family(), QStringLiteral("宋体"));
                numbers << number;
            }
            // The template's own list is in ascending slot number.
            std::sort(numbers.begin(), numbers.end());
            for (int i = 0; i < numbers.size(); ++i)
                QCOMPARE(t.textSlots[i].number, numbers[i]);
        }
    }

    void slotNumbersOnceEach()
    {
        for (PrintWindowKind kind : allPrintWindowKinds) {
            QList<int> seen(Catalogue::slotCount + 1, 0);
            for (const WaybillTemplate& t : copyOf(kind).templates())
                for (const TextSlot& s : t.textSlots) {
                    QVERIFY(s.number >= 1 && s.number <= Catalogue::slotCount);
                    ++seen[s.number];
                    QCOMPARE(copyOf(kind).templateOfSlot(s.number), t.number);
                }
            for (int n = 1; n <= Catalogue::slotCount; ++n)
                QVERIFY2(seen[n] == 1, qPrintable(QStringLiteral("slot %1 seen %2 times").arg(n).arg(seen[n])));
        }
    }

    void templateTable_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(expectedTemplates)); ++i)
            QTest::addRow("template %d", expectedTemplates[i].number) << i;
    }
    void templateTable()
    {
        QFETCH(int, index);
        const ExpectedTemplate& e = expectedTemplates[index];
        const WaybillTemplate& t = copyOf(PrintWindowKind::Dd).waybillTemplate(e.number);
        QCOMPARE(t.number, e.number);
        QCOMPARE(t.company, QString::fromUtf8(e.company));
        QCOMPARE(t.variant, QString::fromUtf8(e.variant));
        QCOMPARE(t.pageWidth, e.pageWidth);
        QCOMPARE(t.pageLength, e.pageLength);
        QCOMPARE(t.band, QSize(e.bandWidth, e.bandHeight));
        QCOMPARE(t.screenOffset, e.screenOffset);
        QCOMPARE(t.pictureRect, e.picture);
        QCOMPARE(t.pictureSize, e.picturePixels);
        QCOMPARE(t.textSlots.size(), e.slotCount);
        QCOMPARE(t.banner, e.banner);
        const auto caption = std::find_if(std::begin(expectedCaptions), std::end(expectedCaptions),
                                          [&](const ExpectedCaption& c) { return c.number == e.number; });
        QCOMPARE(t.caption, QString::fromUtf8(caption->caption));
    }

    void measuredGeometry_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QRect>("rect");
        for (const auto& r : measuredRects)
            QTest::addRow("slot %d", r.slot) << r.slot << r.rect;
    }
    void measuredGeometry()
    {
        QFETCH(int, slot);
        QFETCH(QRect, rect);
        const TextSlot& s = copyOf(PrintWindowKind::Dd).slot(slot);
        QCOMPARE(s.rect, rect);
        QCOMPARE(s.rectTenths(), QRectF(rect.x() * 254.0 / 96, rect.y() * 254.0 / 96,
                                        rect.width() * 254.0 / 96, rect.height() * 254.0 / 96));
    }

    void outputGeometryIsUnrounded()
    {
        const TextSlot& s = copyOf(PrintWindowKind::Dd).slot(1);
        QCOMPARE(s.rectTenths().x(), 317.5);
        QVERIFY(qAbs(s.rectTenths().height() - 58.208333) < 1e-6);
        QCOMPARE(tenthsFromPixels(869), 869 * 254.0 / 96);
        QVERIFY(qAbs(copyOf(PrintWindowKind::Edd).waybillTemplate(12).bandTenths().height() - 1399.6458) < 1e-4);
    }

    void typeSizes_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("points");
        QTest::newRow("ordinary") << 1 << 15 << 11;
        QTest::newRow("29 px city") << 509 << 29 << 22;
        QTest::newRow("48 px city") << 464 << 48 << 36;
        QTest::newRow("56 px city") << 470 << 56 << 42;
    }
    void typeSizes()
    {
        QFETCH(int, slot);
        QFETCH(int, pixels);
        QFETCH(int, points);
        const TextSlot& s = copyOf(PrintWindowKind::Dd).slot(slot);
        QCOMPARE(s.fontPixelSize(), pixels);
        QCOMPARE(s.fontPointSize(), points);
        QVERIFY(s.font.bold());
        QCOMPARE(s.colour, QColor(Qt::black));
    }

    void everyBoxInsideItsPage()
    {
        for (PrintWindowKind kind : allPrintWindowKinds)
            for (const WaybillTemplate& t : copyOf(kind).templates()) {
                const QRect page(QPoint(0, 0), t.band);
                for (const TextSlot& s : t.textSlots) {
                    const QString where = QStringLiteral("%1 slot %2").arg(printWindowKindName(kind)).arg(s.number);
                    QVERIFY2(page.contains(s.rect), qPrintable(where));
                    QVERIFY2(page.contains(s.viewRect), qPrintable(where + QStringLiteral(" view")));
                }
            }
    }

    // Boxes of one template do not overlap; the measured template 18 has one 1 px touch.
    void noOverlaps()
    {
        for (PrintWindowKind kind : allPrintWindowKinds)
            for (const WaybillTemplate& t : copyOf(kind).templates())
                for (int i = 0; i < t.textSlots.size(); ++i)
                    for (int j = i + 1; j < t.textSlots.size(); ++j) {
                        const int o = overlap(t.textSlots[i].rect, t.textSlots[j].rect);
                        const QString where = QStringLiteral("%1: slots %2 and %3 overlap by %4 px")
                                                  .arg(printWindowKindName(kind))
                                                  .arg(t.textSlots[i].number)
                                                  .arg(t.textSlots[j].number)
                                                  .arg(o);
                        QVERIFY2(o <= (t.number == 18 ? 1 : 0), qPrintable(where));
                    }
    }

    // The banner is printed in the form's top strip, clear of every text box.
    void bannerClearOfBoxes()
    {
        const QSize banner(305, 23);
        for (PrintWindowKind kind : allPrintWindowKinds)
            for (const WaybillTemplate& t : copyOf(kind).templates())
                for (const TextSlot& s : t.textSlots)
                    QVERIFY2(!s.rect.intersects(QRect(t.banner, banner)),
                             qPrintable(QStringLiteral("%1 template %2 slot %3")
                                            .arg(printWindowKindName(kind))
                                            .arg(t.number)
                                            .arg(s.number)));
    }

    // The box sizes every form keeps to: one-line boxes 22 px high, taller boxes only for
    // text that runs on, 25..118 px high and 25..377 px wide, date boxes 25 px wide.
    void boxSizes()
    {
        const QStringList tallColumns{QStringLiteral("地址"), QStringLiteral("寄件单位"), QStringLiteral("收件单位"),
                                      QStringLiteral("内件品名"), QStringLiteral("备注"), QStringLiteral("电话"),
                                      QStringLiteral("姓名")};
        int oneLine = 0;
        for (const WaybillTemplate& t : copyOf(PrintWindowKind::Dd).templates())
            for (const TextSlot& s : t.textSlots) {
                const QString where = QStringLiteral("slot %1").arg(s.number);
                if (s.rect.height() == 22)
                    ++oneLine;
                if (s.largeType) {
                    QVERIFY2(s.rect.height() >= 54 && s.rect.height() <= 145, qPrintable(where));
                    continue;
                }
                QVERIFY2(s.rect.width() >= 25 && s.rect.width() <= 377, qPrintable(where));
                QVERIFY2(s.rect.height() == 22 || (s.rect.height() >= 25 && s.rect.height() <= 118), qPrintable(where));
                if (s.rect.height() != 22)
                    QVERIFY2(tallColumns.contains(s.column), qPrintable(where));
                if (s.column == QStringLiteral("月") || s.column == QStringLiteral("日"))
                    QVERIFY2(s.rect.width() == 25, qPrintable(where));
            }
        QVERIFY2(oneLine >= 440 && oneLine <= 480, qPrintable(QString::number(oneLine)));
    }

    void windowDifferences_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("number");
        QTest::addColumn<QList<double>>("values"); // dd, edd, pd, ped
        using V = QList<double>;
        QTest::newRow("8: width of 133") << "slot.w" << 133 << V{161, 119, 119, 119};
        QTest::newRow("8: width of 138") << "slot.w" << 138 << V{161, 119, 119, 119};
        QTest::newRow("8: view of 138 follows") << "view.w" << 138 << V{161, 119, 119, 119};
        QTest::newRow("8: x of 141") << "slot.x" << 141 << V{64, 66, 66, 66};
        QTest::newRow("8: x of 142") << "slot.x" << 142 << V{68, 68, 68, 72};
        QTest::newRow("8: width of 142") << "slot.w" << 142 << V{73, 73, 73, 65};
        QTest::newRow("9: page length") << "page.length" << 9 << V{1502.833, 1502.833, 1505.479, 1505.479};
        QTest::newRow("9: band stays") << "band.h" << 9 << V{568, 568, 568, 568};
        QTest::newRow("9: picture height") << "picture.h" << 9 << V{566, 566, 565, 565};
        QTest::newRow("9: picture width px") << "picture.pw" << 9 << V{869, 869, 869, 2733};
        QTest::newRow("9: picture height px") << "picture.ph" << 9 << V{572, 572, 572, 1796};
        QTest::newRow("10: y of 170") << "slot.y" << 170 << V{288, 296, 296, 296};
        QTest::newRow("12: band height") << "band.h" << 12 << V{533, 529, 533, 533};
        QTest::newRow("12: height of 207") << "slot.h" << 207 << V{22, 39, 22, 22};
        QTest::newRow("12: height of 212") << "slot.h" << 212 << V{22, 39, 22, 22};
        QTest::newRow("12: type of 203") << "slot.bold" << 203 << V{1, 0, 1, 1};
        QTest::newRow("12: type of 210") << "slot.bold" << 210 << V{1, 0, 1, 1};
        QTest::newRow("12: type of 217") << "slot.bold" << 217 << V{1, 0, 1, 1};
        QTest::newRow("11: type of 202 untouched") << "slot.bold" << 202 << V{1, 1, 1, 1};
        QTest::newRow("13: type of 218 untouched") << "slot.bold" << 218 << V{1, 1, 1, 1};
        QTest::newRow("13: width of 227") << "slot.w" << 227 << V{129, 129, 129, 121};
        QTest::newRow("14: width of 252") << "slot.w" << 252 << V{137, 137, 153, 153};
        QTest::newRow("14: x of 253") << "slot.x" << 253 << V{616, 616, 640, 640};
        QTest::newRow("14: width of 253") << "slot.w" << 253 << V{161, 160, 136, 136};
        QTest::newRow("16: height of 277") << "slot.h" << 277 << V{41, 39, 39, 39};
        QTest::newRow("18: height of 311") << "slot.h" << 311 << V{45, 39, 39, 39};
        QTest::newRow("18: picture y") << "picture.y" << 18 << V{0, 0, 1, 0};
        QTest::newRow("18: picture height") << "picture.h" << 18 << V{528, 528, 526, 526};
        QTest::newRow("20: height of 357") << "slot.h" << 357 << V{61, 61, 22, 61};
        QTest::newRow("20: width of 346") << "slot.w" << 346 << V{153, 153, 153, 129};
        QTest::newRow("20: width of 351") << "slot.w" << 351 << V{153, 153, 153, 124};
        QTest::newRow("21: height of 372") << "slot.h" << 372 << V{39, 22, 39, 39};
        QTest::newRow("28: screen offset") << "offset" << 28 << V{0, -4, -4, -4};
        QTest::newRow("view 146 width") << "view.w" << 146 << V{68, 68, 68, 68};
        QTest::newRow("slot 146 width") << "slot.w" << 146 << V{65, 65, 65, 65};
        QTest::newRow("view 309 width") << "view.w" << 309 << V{68, 68, 68, 68};
        QTest::newRow("view 147 width") << "view.w" << 147 << V{67, 67, 67, 67};
        QTest::newRow("view 310 width") << "view.w" << 310 << V{67, 67, 67, 67};
        QTest::newRow("slot 310 width") << "slot.w" << 310 << V{65, 65, 65, 65};
        QTest::newRow("view 206 y") << "view.y" << 206 << V{208, 208, 208, 208};
        QTest::newRow("slot 206 y") << "slot.y" << 206 << V{209, 209, 209, 209};
        QTest::newRow("view 427 width") << "view.w" << 427 << V{132, 132, 132, 132};
        QTest::newRow("slot 427 width") << "slot.w" << 427 << V{124, 124, 124, 124};
        QTest::newRow("view 567 width") << "view.w" << 567 << V{316, 316, 316, 316};
        QTest::newRow("slot 567 width") << "slot.w" << 567 << V{305, 305, 305, 305};
        QTest::newRow("view 100 x") << "view.x" << 100 << V{64, 64, 80, 64};
        QTest::newRow("slot 100 x") << "slot.x" << 100 << V{64, 64, 64, 64};
    }
    void windowDifferences()
    {
        QFETCH(QString, what);
        QFETCH(int, number);
        QFETCH(QList<double>, values);
        for (PrintWindowKind kind : allPrintWindowKinds)
            QCOMPARE(valueOf(copyOf(kind), what, number), values[int(kind)]);
    }

    // Outside the listed differences the four copies agree.
    void copiesAgreeElsewhere()
    {
        const QSet<int> differing{133, 138, 141, 142, 170, 207, 212, 227, 252, 253, 277, 311, 357, 346, 351, 372, 100};
        const Catalogue& dd = copyOf(PrintWindowKind::Dd);
        for (PrintWindowKind kind : allPrintWindowKinds)
            for (int n = 1; n <= Catalogue::slotCount; ++n) {
                if (differing.contains(n))
                    continue;
                const TextSlot& s = copyOf(kind).slot(n);
                QCOMPARE(s.rect, dd.slot(n).rect);
                QCOMPARE(s.viewRect, dd.slot(n).viewRect);
                if (s.templateNumber != 12)
                    QCOMPARE(s.font, dd.slot(n).font);
            }
    }

    void bannerPositions_data()
    {
        QTest::addColumn<int>("templateNumber");
        for (int n = 1; n <= Catalogue::templateCount; ++n)
            QTest::addRow("template %d", n) << n;
    }
    void bannerPositions()
    {
        QFETCH(int, templateNumber);
        const QPoint dd = expectedTemplates[templateNumber - 1].banner;
        for (PrintWindowKind kind : allPrintWindowKinds) {
            QPoint expected = dd;
            for (const auto& d : bannerDifferences)
                if (d.templateNumber == templateNumber && d.window == kind)
                    expected = d.banner;
            QCOMPARE(copyOf(kind).waybillTemplate(templateNumber).banner, expected);
        }
    }

    void yearOnlyOnSeventeenTemplates()
    {
        QList<int> withYear;
        for (const WaybillTemplate& t : copyOf(PrintWindowKind::Dd).templates())
            for (const TextSlot& s : t.textSlots)
                if (s.column == QStringLiteral("年"))
                    withYear << t.number;
        QCOMPARE(withYear, (QList<int>{1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 17, 24, 27, 28, 33}));
    }

    void pictures_data()
    {
        QTest::addColumn<PrintWindowKind>("window");
        QTest::addColumn<int>("templateNumber");
        for (PrintWindowKind kind : allPrintWindowKinds)
            for (int n = 1; n <= Catalogue::templateCount; ++n)
                QTest::addRow("%s %d", qPrintable(printWindowKindName(kind)), n) << kind << n;
    }
    void pictures()
    {
        QFETCH(PrintWindowKind, window);
        QFETCH(int, templateNumber);
        const WaybillTemplate& t = copyOf(window).waybillTemplate(templateNumber);
        QFile file(t.pictureResource);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(t.pictureResource));
        const qint64 bytes = file.size();
        if (t.pictureSize.width() > 2000)
            QVERIFY2(bytes > 200'000 && bytes < 700'000, qPrintable(QString::number(bytes)));
        else
            QVERIFY2(bytes >= 40'000 && bytes <= 120'000, qPrintable(QString::number(bytes)));
        const QImage image = formPicture(t);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), t.pictureSize);
    }

    void decodingRejectsWhatIsNotAJpeg_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("not a picture at all");
        QTest::newRow("png signature") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        QTest::newRow("jpeg marker then garbage") << QByteArray("\xff\xd8\xff\xe0garbage", 11);
    }
    void decodingRejectsWhatIsNotAJpeg()
    {
        QFETCH(QByteArray, data);
        QVERIFY(decodeJpeg(data).isNull());
    }

    void decodingRoundTrip()
    {
        QImage source(64, 40, QImage::Format_RGB32);
        source.fill(QColor(200, 30, 30));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(source.save(&buffer, "JPG", 90));
        const QImage decoded = decodeJpeg(bytes);
        QCOMPARE(decoded.size(), source.size());
        const QColor centre = decoded.pixelColor(32, 20);
        QVERIFY(qAbs(centre.red() - 200) < 8 && qAbs(centre.green() - 30) < 8);
    }

    void slotText_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sender column") << 1 << QStringLiteral("张三");
        QTest::newRow("recipient column") << 7 << QStringLiteral("李四");
        QTest::newRow("null value") << 9 << QString(QLatin1String(""));
        QTest::newRow("absent column") << 13 << QString(QLatin1String(""));
    }
    void slotText()
    {
        QFETCH(int, slot);
        QFETCH(QString, expected);
        const SlotRows rows{[](const QString& c) { return c == QStringLiteral("姓名") ? QStringLiteral("张三") : QString(); },
                            [](const QString& c) {
                                if (c == QStringLiteral("姓名")) return QStringLiteral("李四");
                                return QString(); // null, as the database gives for a missing value
                            }};
        const QString text = corvane::slotText(copyOf(PrintWindowKind::Dd).slot(slot), rows);
        QCOMPARE(text, expected);
        QVERIFY(!text.isNull());
    }

    void viewBoxLines_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty") << QString() << 343 << QStringList();
        QTest::newRow("one line") << QStringLiteral("北京") << 343 << QStringList{QStringLiteral("北京")};
        QTest::newRow("embedded break") << QStringLiteral("上海市\r\n浦东新区") << 343
                                        << QStringList{QStringLiteral("上海市"), QStringLiteral("浦东新区")};
        QTest::newRow("bare line feed") << QStringLiteral("a\nb") << 343 << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("final break not a line") << QStringLiteral("甲\r\n") << 343 << QStringList{QStringLiteral("甲")};
        QTest::newRow("blank line kept") << QStringLiteral("甲\r\n\r\n乙") << 343
                                         << QStringList{QStringLiteral("甲"), QString(), QStringLiteral("乙")};
        // 15 px type: ten ideographs are 150 px; six of them fit the 101 px box's text area.
        QTest::newRow("wrapped ideographs")
            << QStringLiteral("一二三四五六七八九十") << 101
            << QStringList{QStringLiteral("一二三四五六"), QStringLiteral("七八九十")};
    }
    void viewBoxLines()
    {
        QFETCH(QString, value);
        QFETCH(int, width);
        QFETCH(QStringList, expected);
        QCOMPARE(corvane::viewBoxLines(value, slotFont(15, true), width), expected);
    }

    // Wrapping happens at the box's width in the box's font: every line fits, and joining the
    // lines gives the value back.
    void wrappedLinesFitTheBox_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("width");
        QTest::newRow("latin words") << QStringLiteral("Room 1203 Tower B Century Plaza 88 Century Avenue") << 169;
        QTest::newRow("mixed") << QStringLiteral("广东省深圳市南山区科技园南区高新南一道 Building 9") << 121;
        QTest::newRow("one long word") << QStringLiteral("13800138000138001380013800") << 57;
    }
    void wrappedLinesFitTheBox()
    {
        QFETCH(QString, value);
        QFETCH(int, width);
        const QFont font = slotFont(15, true);
        const QStringList lines = corvane::viewBoxLines(value, font, width);
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines.join(QString()), value);
        QImage screen(1, 1, QImage::Format_RGB32);
        screen.setDotsPerMeterX(3780);
        screen.setDotsPerMeterY(3780);
        const QFontMetricsF metrics(font, &screen);
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= viewBoxTextWidth(width) + 0.5, qPrintable(line));
    }

    void wideTypeWrapsSooner()
    {
        const QString value = QStringLiteral("广东省深圳市南山区");
        const int ordinary = corvane::viewBoxLines(value, slotFont(15, true), 97).size();
        const int large = corvane::viewBoxLines(value, slotFont(48, true), 97).size();
        QVERIFY(large > ordinary);
    }

    void fillingTemplate2PrintsTheCityTwice()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        fillTemplate(catalogue.waybillTemplate(2), rowsFrom({}, {{QStringLiteral("城市"), QStringLiteral("上海")}}));
        QCOMPARE(catalogue.slot(33).lines, QStringList{QStringLiteral("上海")});
        QCOMPARE(catalogue.slot(464).lines, QStringList{QStringLiteral("上海")});
        QCOMPARE(catalogue.slot(33).fontPixelSize(), 15);
        QCOMPARE(catalogue.slot(464).fontPixelSize(), 48);
    }

    void fillingWithoutAPhoneLeavesOnlyThatBoxEmpty()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        QHash<QString, QString> sender, recipient;
        for (const char* c : {"姓名", "城市", "邮编", "寄件单位", "地址", "手机", "电话", "签名", "年", "月", "日"})
            sender[c] = QStringLiteral("1");
        for (const char* c : {"姓名", "城市", "邮编", "收件单位", "地址", "手机", "内件品名", "数量", "备注"})
            recipient[c] = QStringLiteral("2");
        fillTemplate(catalogue.waybillTemplate(1), rowsFrom(sender, recipient));
        for (const TextSlot& s : catalogue.waybillTemplate(1).textSlots) {
            if (s.number == 9)
                QVERIFY(s.lines.isEmpty());
            else
                QCOMPARE(s.lines, QStringList{s.role == SlotRole::Sender ? QStringLiteral("1") : QStringLiteral("2")});
        }
    }

    void fillingTouchesNothingElse()
    {
        Catalogue catalogue(PrintWindowKind::Pd);
        const Catalogue untouched(PrintWindowKind::Pd);
        const QString address = QStringLiteral("第一行\r\n第二行\r\n第三行");
        fillTemplate(catalogue.waybillTemplate(1), rowsFrom({}, {{QStringLiteral("地址"), address}}));
        // Three lines go into the 42 px box; cutting them is the page engine's business.
        QCOMPARE(catalogue.slot(11).lines.size(), 3);
        for (const WaybillTemplate& t : catalogue.templates()) {
            const WaybillTemplate& u = untouched.waybillTemplate(t.number);
            QCOMPARE(t.banner, u.banner);
            for (int i = 0; i < t.textSlots.size(); ++i) {
                QCOMPARE(t.textSlots[i].rect, u.textSlots[i].rect);
                QCOMPARE(t.textSlots[i].font, u.textSlots[i].font);
                if (t.number != 1)
                    QVERIFY(t.textSlots[i].lines.isEmpty());
            }
        }
        // A second filling replaces the text rather than adding to it.
        fillTemplate(catalogue.waybillTemplate(1), rowsFrom({}, {}));
        QVERIFY(catalogue.slot(11).lines.isEmpty());
    }

    void fillingWrapsAtTheViewBoxWidth()
    {
        // Slot 427's view box is wider than its print box; the lines follow the view box.
        Catalogue catalogue(PrintWindowKind::Dd);
        const TextSlot& s = catalogue.slot(427);
        QString value;
        while (corvane::viewBoxLines(value + QStringLiteral("8"), s.font, 132).size() <= 1)
            value += QStringLiteral("8");
        QVERIFY(corvane::viewBoxLines(value, s.font, 124).size() == 2);
        fillTemplate(catalogue.waybillTemplate(24), rowsFrom({}, {{QStringLiteral("手机"), value}}));
        QCOMPARE(catalogue.slot(427).lines, QStringList{value});
    }

    void moveAllAndSetType()
    {
        Catalogue catalogue(PrintWindowKind::Ped);
        const Catalogue original(PrintWindowKind::Ped);
        catalogue.moveAll(10, -5);
        QCOMPARE(catalogue.waybillTemplate(33).banner, original.waybillTemplate(33).banner + QPoint(10, -5));
        QCOMPARE(catalogue.slot(100).viewRect, original.slot(100).viewRect.translated(10, -5));
        QCOMPARE(catalogue.slot(597).rect, original.slot(597).rect.translated(10, -5));
        QCOMPARE(catalogue.waybillTemplate(9).pictureRect, original.waybillTemplate(9).pictureRect);
        QFont font(QStringLiteral("宋体"));
        font.setPixelSize(20);
        catalogue.setOrdinaryType(font, Qt::blue);
        QCOMPARE(catalogue.slot(1).fontPixelSize(), 20);
        QCOMPARE(catalogue.slot(1).colour, QColor(Qt::blue));
        for (int n : {464, 465, 466, 467, 468, 469, 470, 491, 509, 528, 597})
            QCOMPARE(catalogue.slot(n).font, original.slot(n).font);
        // Other windows' copies are their own.
        QCOMPARE(copyOf(PrintWindowKind::Ped).slot(1).fontPixelSize(), 15);
    }

    void windowNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("dd") << "dd" << true;
        QTest::newRow("edd") << "edd" << true;
        QTest::newRow("pd") << "pd" << true;
        QTest::newRow("ped") << "ped" << true;
        QTest::newRow("upper case") << "DD" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("class name") << "TDdForm" << false;
    }
    void windowNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        const auto kind = parsePrintWindowKind(name);
        QCOMPARE(kind.has_value(), valid);
        if (valid)
            QCOMPARE(printWindowKindName(*kind), name);
    }

    void jsonDump_data()
    {
        QTest::addColumn<PrintWindowKind>("window");
        for (PrintWindowKind kind : allPrintWindowKinds)
            QTest::newRow(qPrintable(printWindowKindName(kind))) << kind;
    }
    void jsonDump()
    {
        QFETCH(PrintWindowKind, window);
        const Catalogue& catalogue = copyOf(window);
        const QByteArray json = catalogueJson(catalogue);
        QVERIFY(!json.contains('\n'));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject root = document.object();
        QCOMPARE(root.value(QStringLiteral("window")).toString(), printWindowKindName(window));
        const QJsonArray templates = root.value(QStringLiteral("templates")).toArray();
        QCOMPARE(templates.size(), 33);
        int slotsSeen = 0;
        for (const QJsonValue& value : templates) {
            const QJsonObject t = value.toObject();
            const WaybillTemplate& expected = catalogue.waybillTemplate(t.value(QStringLiteral("number")).toInt());
            QCOMPARE(t.value(QStringLiteral("pageLength")).toDouble(), expected.pageLength);
            QCOMPARE(t.value(QStringLiteral("bandHeight")).toInt(), expected.band.height());
            QCOMPARE(t.value(QStringLiteral("banner")).toObject().value(QStringLiteral("x")).toInt(), expected.banner.x());
            for (const QJsonValue& s : t.value(QStringLiteral("slots")).toArray()) {
                const QJsonObject slot = s.toObject();
                const TextSlot& e = catalogue.slot(slot.value(QStringLiteral("number")).toInt());
                QCOMPARE(slot.value(QStringLiteral("w")).toInt(), e.rect.width());
                QCOMPARE(slot.value(QStringLiteral("view")).toObject().value(QStringLiteral("x")).toInt(), e.viewRect.x());
                QCOMPARE(slot.value(QStringLiteral("bold")).toBool(), e.font.bold());
                ++slotsSeen;
            }
        }
        QCOMPARE(slotsSeen, 597);
        if (window == PrintWindowKind::Dd) {
            // Keys in their documented order, numbers as numbers.
            const QByteArray start = QStringLiteral(
                "{\"window\":\"dd\",\"templates\":[{\"number\":1,\"company\":\"EMS\",\"variant\":\"\",\"caption\":\"EMS快递单模板\","
                "\"pageWidth\":2300,\"pageLength\":1270,\"bandWidth\":869,\"bandHeight\":480,\"screenOffset\":-4,"
                "\"picture\":{\"x\":0,\"y\":1,\"w\":869,\"h\":475,\"pixelWidth\":870,\"pixelHeight\":481},"
                "\"banner\":{\"x\":72,\"y\":64},\"slots\":[{\"number\":1,\"role\":\"S\",\"column\":\"姓名\",\"x\":120,"
                "\"y\":100,\"w\":97,\"h\":22,\"fontPx\":15,\"bold\":true,\"view\":{\"x\":120,\"y\":100,\"w\":97,\"h\":22}}")
                                          .toUtf8();
            QVERIFY(json.startsWith(start));
            QVERIFY(json.contains("\"pageWidth\":2299.229,\"pageLength\":1502.833"));
        }
        if (window == PrintWindowKind::Edd)
            QVERIFY(json.contains("\"number\":12,\"company\":\"宅急送\",\"variant\":\"\",\"caption\":\"宅急送快递单模板\","
                                  "\"pageWidth\":2299.229,\"pageLength\":1410,\"bandWidth\":869,\"bandHeight\":529"));
    }
};


QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

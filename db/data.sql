-- Data database (data/DATA.MDB by default, or a database on a server): the grower's diary,
-- plantings, pesticide purchases, shipments and vouchers.
-- Columns stand in the order the rows are read and written in; money is fixed point,
-- dates are DATETIME, flags are integers (any non-zero value is true).

CREATE TABLE D_DIARY (
  FMR_ID      INT NOT NULL,
  WORK_DATE   DATETIME NOT NULL,
  WTH_ID      INT,
  LO_TMP      DOUBLE,
  HI_TMP      DOUBLE,
  ONE_MSG     VARCHAR(255),
  NOTES1      VARCHAR(1000),
  NOTES2      VARCHAR(1000),
  IDATE       DATETIME,
  UDATE       DATETIME,
  LAST_TM     VARCHAR(64),
  HOLD_TM     VARCHAR(64),
  PRIMARY KEY (FMR_ID, WORK_DATE)
);

CREATE TABLE D_DIARY_DTL (
  FMR_ID      INT NOT NULL,
  WORK_DATE   DATETIME NOT NULL,
  DTL_NO      INT NOT NULL,
  PLANT_ID    INT,
  WORK_KBN    INT,
  WORK_NM     VARCHAR(255),
  NOTES       VARCHAR(255),
  CHEMI_ID    INT,
  CHEMI_NM    VARCHAR(255),
  REG_NO      VARCHAR(50),
  PURPOSE     VARCHAR(255),
  QTY         DOUBLE,
  UNIT_ID     INT,
  SHIP_ID     INT,
  SCHD_ID     INT,
  LEDGE_ID    INT,
  PRIMARY KEY (FMR_ID, WORK_DATE, DTL_NO)
);

CREATE TABLE D_PLANT (
  PLANT_ID        INT NOT NULL,
  PLANT_NM        VARCHAR(255),
  YYYY            INT,
  FMR_ID          INT NOT NULL,
  HARVEST_SCHD_YM VARCHAR(10),
  CROP_NM         VARCHAR(255),
  CROP_NM1        VARCHAR(255),
  CROP_NM2        VARCHAR(255),
  PRD_ID          INT,
  PRD_NM          VARCHAR(255),
  PLANT_TYPE      INT,
  FIELD_NM        VARCHAR(255),
  AREA            DOUBLE,
  CROP_EST        DOUBLE,
  CROP_EST_UNIT   INT,
  PLANT_DATE      DATETIME,
  START_DATE      DATETIME,
  END_DATE        DATETIME,
  SHIP_EST        DOUBLE,
  SHIP_EST_UNIT   INT,
  SHIP_SCHD_DATE1 DATETIME,
  SHIP_SCHD_DATE2 DATETIME,
  IMG_PATH1       VARCHAR(255),
  IMG_PATH2       VARCHAR(255),
  NOTES1          VARCHAR(1000),
  NOTES2          VARCHAR(1000),
  IDATE           DATETIME,
  UDATE           DATETIME,
  LAST_TM         VARCHAR(64),
  HOLD_TM         VARCHAR(64),
  PRIMARY KEY (FMR_ID, PLANT_ID)
);

-- A purchase number is unique over all growers.
CREATE TABLE D_CHEMI (
  FMR_ID      INT,
  CHEMI_ID    INT NOT NULL,
  CHEMI_NM    VARCHAR(255),
  REG_NO      INT,
  USES        INT,
  MAKER_NM    VARCHAR(255),
  CHEMI_TYPE  INT,
  CHEMI_KIND  VARCHAR(255),
  PUR_DATE    DATETIME,
  PUR_SHOP    VARCHAR(255),
  PUR_QTY     DOUBLE,
  PUR_UNIT    INT,
  ACC_ID      INT,
  PUR_AMT     DECIMAL(19,4),
  USED_QTY    DOUBLE,
  REST_QTY    DOUBLE,
  NOTES       VARCHAR(255),
  LEDGE_ID    INT,
  CHK_FLG     INT,
  IDATE       DATETIME,
  UDATE       DATETIME,
  LAST_TM     VARCHAR(64),
  HOLD_TM     VARCHAR(64),
  PRIMARY KEY (CHEMI_ID)
);

CREATE TABLE D_SHIP (
  FMR_ID      INT NOT NULL,
  SHIP_ID     INT NOT NULL,
  SHIP_DATE   DATETIME,
  PLANT_ID    INT,
  DTL_NO      INT,
  SHOP_ID     INT,
  PRD_ID      INT,
  PRD_NM      VARCHAR(255),
  LOCATE      VARCHAR(255),
  PLAS        INT,
  ACC_ID      INT,
  SHOP_PRC    DECIMAL(19,4),
  SHIP_QTY    INT,
  RTN_QTY     DOUBLE,
  SALES_QTY   DOUBLE,
  DSC_AMT     DECIMAL(19,4),
  SALES_AMT   DECIMAL(19,4),
  FEE_RT      DOUBLE,
  FEE_AMT     DECIMAL(19,4),
  NOTES       VARCHAR(255),
  PRINT_DATE  DATETIME,
  EXP_DATE    DATETIME,
  LEDGE_ID_S  INT,
  LEDGE_ID_F  INT,
  IDATE       DATETIME,
  UDATE       DATETIME,
  LAST_TM     VARCHAR(64),
  HOLD_TM     VARCHAR(64),
  PRIMARY KEY (FMR_ID, SHIP_ID)
);

CREATE TABLE D_LEDGE (
  FMR_ID      INT NOT NULL,
  LEDGE_ID    INT NOT NULL,
  LEDGE_DATE  DATETIME,
  D_ACC_ID    INT,
  D_OPT_KBN   INT,
  D_OPT_ID    INT,
  D_OPT_NM    VARCHAR(255),
  C_ACC_ID    INT,
  C_OPT_KBN   INT,
  C_OPT_ID    INT,
  C_OPT_NM    VARCHAR(255),
  CTR_NM      VARCHAR(255),
  NOTES       VARCHAR(255),
  AMT         DECIMAL(19,4),
  IDATE       DATETIME,
  UDATE       DATETIME,
  LAST_TM     VARCHAR(64),
  HOLD_TM     VARCHAR(64),
  PRIMARY KEY (FMR_ID, LEDGE_ID)
);

-- Indexes of the reads that would otherwise go through all of a grower's years of rows: the
-- calendar's month of vouchers and shipments, the day's vouchers (in number order, so that a
-- file database takes this index rather than the key for the order), and every line naming a
-- pesticide purchase (the stock); any line naming a purchase (the start's reset of unused
-- purchases); the shipment list's days over every grower, its plantings of a year and their
-- shipments; the rows a computer holds, released when its windows close (the diary day, the
-- voucher, shipment, pesticide purchase and planting inputs); a grower's pesticides offered
-- in the diary day's pick list, in their order; a grower's plantings in progress on a day (those
-- not ended, and those ended since). A database made without them gets them when it is opened,
-- in this order.
CREATE INDEX IX_D_DIARY_DTL_CHEMI ON D_DIARY_DTL (FMR_ID, CHEMI_ID, UNIT_ID, QTY);
CREATE INDEX IX_D_LEDGE_DATE ON D_LEDGE (FMR_ID, LEDGE_DATE, LEDGE_ID);
CREATE INDEX IX_D_SHIP_DATE ON D_SHIP (FMR_ID, SHIP_DATE);
CREATE INDEX IX_D_DIARY_DTL_USE ON D_DIARY_DTL (CHEMI_ID);
CREATE INDEX IX_D_SHIP_DAY ON D_SHIP (SHIP_DATE);
CREATE INDEX IX_D_PLANT_YEAR ON D_PLANT (YYYY);
CREATE INDEX IX_D_SHIP_PLANT ON D_SHIP (FMR_ID, PLANT_ID);
CREATE INDEX IX_D_DIARY_HOLD ON D_DIARY (HOLD_TM);
CREATE INDEX IX_D_LEDGE_HOLD ON D_LEDGE (HOLD_TM);
CREATE INDEX IX_D_SHIP_HOLD ON D_SHIP (HOLD_TM);
CREATE INDEX IX_D_CHEMI_HOLD ON D_CHEMI (HOLD_TM);
CREATE INDEX IX_D_PLANT_HOLD ON D_PLANT (HOLD_TM);
CREATE INDEX IX_D_CHEMI_PICK ON D_CHEMI (FMR_ID, CHEMI_NM, CHEMI_ID, CHK_FLG, PUR_DATE);
CREATE INDEX IX_D_PLANT_DAY ON D_PLANT (FMR_ID, END_DATE, START_DATE);

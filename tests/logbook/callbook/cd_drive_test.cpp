#include "logbook/callbook/cd_drive.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FindCDDrive, FirstOpticalDiscInTheMountTable)
{
    const char* root = "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\nproc /proc proc rw 0 0\n";
    struct Case { const char* mounts; const char* drive; };
    const Case cases[] = {
        {"", "None"},
        {root, "None"},
        {"/dev/sdb1 /media/usb vfat rw 0 0\n", "None"},
        {"/dev/sr0 /media/ham/CALLBOOK iso9660 ro,nosuid 0 0\n", "/media/ham/CALLBOOK"},
        {"/dev/sr1 /mnt/cd udf ro 0 0\n/dev/sr0 /mnt/cd2 iso9660 ro 0 0\n", "/mnt/cd"},
        {"/dev/loop3 /mnt/image iso9660 ro 0 0\n", "/mnt/image"},
        {"/dev/sr0 /media/ham/QRZ\\040CD fuseblk ro 0 0\n", "/media/ham/QRZ CD"},
        {"garbage\n/dev/sda1 /home ext4 rw 0 0\n/dev/sr0 /cdrom iso9660 ro 0 0\n", "/cdrom"},
    };
    QTemporaryDir dir;
    QString path = dir.filePath("mounts");
    for (const Case& c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(root) + c.mounts);
        f.close();
        EXPECT_EQ(FindCDDrive(path), QString::fromUtf8(c.drive)) << c.mounts;
    }
    EXPECT_EQ(FindCDDrive(dir.filePath("missing")), "None");
    // The real table reads without trouble, whatever this machine has mounted.
    EXPECT_FALSE(FindCDDrive().isEmpty());
}
